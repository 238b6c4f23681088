#include "shell/UserGuide.h"

#include "document/StationFile.h"
#include "shell/GuidePictures.h"
#include "shell/MainMenu.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace kalmor {

namespace {

// The panel's own keys and pointer gestures, which no menu entry carries.
constexpr const char *PanelKeys[][2] = {
    {"levé tlačítko myši", "položit zvolený prvek; tažením doprava vyplnit řádek"},
    {"pravé tlačítko myši", "odebrat prvek třídy zvoleného druhu"},
    {"Ctrl + pravé tlačítko myši", "převzít prvek z panelu jako zvolený"},
    {"Shift + tažení levým tlačítkem", "vybrat obdélník políček"},
    {"šipky", "posunout vybrané prvky"},
    {"Esc", "zrušit výběr; v okně nástrojů okno zavřít"},
    {"kolečko myši, Shift + kolečko", "posun svisle, vodorovně"},
    {"Ctrl + kolečko myši", "zvětšení a zmenšení"},
    {"PageUp, PageDown", "o stránku nahoru, dolů"},
    {"Shift+PageUp, Shift+PageDown", "o stránku vlevo, vpravo"},
    {"Home, End", "k levému, pravému okraji"},
    {"Ctrl+Home, Ctrl+End", "do levého horního, pravého dolního rohu"},
};

struct Section {
    QString id;
    QString title;
    QString html;
};

std::vector<Section> sections()
{
    static const QRegularExpression heading(QStringLiteral("<h2 id=\"([^\"]+)\">([^<]*)</h2>"));
    std::vector<Section> out;
    const QDir dir(QStringLiteral(":/guide"));
    for (const QString &name : dir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString html = QString::fromUtf8(file.readAll());
        const QRegularExpressionMatch m = heading.match(html);
        out.push_back({m.captured(1), m.captured(2), html});
    }
    return out;
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// "Soubor > Nový" and its keys, for every entry of the menus with a shortcut.
void menuShortcuts(const QMenu *menu, const QString &path, QString &rows)
{
    for (const QAction *a : menu->actions()) {
        const QString caption = a->text().remove(QLatin1Char('&'));
        if (const QMenu *sub = a->menu()) {
            menuShortcuts(sub, path + caption + QStringLiteral(" > "), rows);
            continue;
        }
        if (a->shortcuts().isEmpty())
            continue;
        QStringList keys;
        for (const QKeySequence &k : a->shortcuts())
            keys << k.toString(QKeySequence::NativeText);
        rows += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>\n")
                    .arg(escaped(keys.join(QStringLiteral(", "))), escaped(path + caption));
    }
}

QString shortcutSection(const MainMenu &menu)
{
    QString rows;
    for (const QAction *a : menu.bar->actions()) {
        if (const QMenu *section = a->menu())
            menuShortcuts(section, section->title().remove(QLatin1Char('&')) + QStringLiteral(" > "), rows);
    }
    QString panel;
    for (const auto &[keys, meaning] : PanelKeys)
        panel += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>\n")
                     .arg(QString::fromUtf8(keys), QString::fromUtf8(meaning));
    const QString table = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n"
                                         "<tr><th>Klávesa</th><th>%1</th></tr>\n%2</table>\n");
    return QStringLiteral("<h2 id=\"zkratky\">Klávesové zkratky</h2>\n<p>Příkazy nabídek:</p>\n")
        + table.arg(QStringLiteral("Příkaz"), rows) + QStringLiteral("<p>Na panelu:</p>\n")
        + table.arg(QStringLiteral("Co dělá"), panel);
}

// Finds the guide's pictures by their names.
class GuideBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    std::map<QString, QImage> pictures;

    QVariant loadResource(int type, const QUrl &name) override
    {
        if (type == QTextDocument::ImageResource && name.scheme() == QLatin1String("obrazek")) {
            const auto it = pictures.find(name.path());
            return it != pictures.end() ? QVariant(it->second) : QVariant();
        }
        return QTextBrowser::loadResource(type, name);
    }
};

}  // namespace

QString userGuideHtml(const MainMenu &menu)
{
    const std::vector<Section> parts = sections();
    QString html = QStringLiteral("<h1>Kalmor – příručka</h1>\n<p><b>Obsah</b></p>\n<ol>\n");
    for (const Section &s : parts)
        html += QStringLiteral("<li><a href=\"#%1\">%2</a></li>\n").arg(s.id, s.title);
    html += QStringLiteral("<li><a href=\"#zkratky\">Klávesové zkratky</a></li>\n</ol>\n");
    for (const Section &s : parts)
        html += s.html;
    return html + shortcutSection(menu);
}

UserGuide::UserGuide(const MainMenu &menu, const ImageSet &images, QString examplePath, QWidget *parent)
    : QWidget(parent, Qt::Window), m_menu(menu), m_images(images), m_examplePath(std::move(examplePath))
{
    setObjectName(QStringLiteral("Prirucka"));
    setWindowTitle(QStringLiteral("Kalmor - Příručka"));
    resize(820, 640);
    m_text = new GuideBrowser(this);
    m_text->setObjectName(QStringLiteral("TB_Prirucka"));
    m_text->setOpenLinks(true);
    m_text->setOpenExternalLinks(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void UserGuide::build()
{
    StationData example;
    if (!m_examplePath.isEmpty() && readStationFile(m_examplePath, example).ok())
        static_cast<GuideBrowser *>(m_text)->pictures = guidePictures(example, m_images);
    m_text->setHtml(userGuideHtml(m_menu));
    m_built = true;
}

void UserGuide::showGuide()
{
    if (!m_built)
        build();
    show();
    raise();
    activateWindow();
}

}  // namespace kalmor
