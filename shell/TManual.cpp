#include "shell/TManual.h"

#include "shell/HelpText.h"
#include "shell/ShellResources.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalmor {

namespace {

constexpr Qt::WindowFlags ToolWindow =
    Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

}  // namespace

TManual::TManual(QWidget *parent)
    : QDialog(parent, ToolWindow)
    , m_text(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("Manual"));
    setWindowTitle(QStringLiteral("Kalmor - Nápověda"));
    setGeometry(338, 133, 655, 397);
    // A fixed-size tool window, like the about window: no resizing or
    // maximising.
    setFixedSize(655, 397);

    m_text->setObjectName(QStringLiteral("ME_Napoveda"));
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setReadOnly(false);
    m_text->setPlainText(helpTextLines().join(QLatin1Char('\n')));

    auto *bottom = new QWidget(this);
    bottom->setObjectName(QStringLiteral("P_Spodek"));
    bottom->setFixedHeight(33);
    auto *close = new QPushButton(QStringLiteral("Zavřít"), bottom);
    close->setObjectName(QStringLiteral("Button1"));
    close->setGeometry(290, 4, 75, 25);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_text);
    layout->addWidget(bottom);
}

TAboutKalmor::TAboutKalmor(QWidget *parent)
    : QDialog(parent, ToolWindow)
{
    setObjectName(QStringLiteral("AboutKalmor"));
    setWindowTitle(QStringLiteral("O programu"));
    setGeometry(461, 294, 377, 254);
    setFixedSize(377, 254);
    addStarterFace(this);

    auto *created = new QLabel(QStringLiteral("Vytvořeno: 2. srpna 2014"), this);
    created->setObjectName(QStringLiteral("Label3"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    font.setBold(true);
    created->setFont(font);
    created->setStyleSheet(QStringLiteral("color: navy; background-color: silver;"));
    created->move(16, 176);
    created->adjustSize();
}

}  // namespace kalmor
