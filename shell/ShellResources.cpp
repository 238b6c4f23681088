#include "shell/ShellResources.h"

#include <QLabel>
#include <QWidget>

namespace kalmor {

QIcon glyph(GlyphKind kind)
{
    const char *name = "new";
    switch (kind) {
    case GlyphKind::New: name = "new"; break;
    case GlyphKind::Save: name = "save"; break;
    case GlyphKind::SaveAs: name = "saveas"; break;
    case GlyphKind::Open: name = "open"; break;
    case GlyphKind::Undo: name = "undo"; break;
    case GlyphKind::Redo: name = "redo"; break;
    case GlyphKind::Anchor: name = "anchor"; break;
    }
    return QIcon(QStringLiteral(":/glyphs/%1.png").arg(QLatin1String(name)));
}

QPixmap starterPicture()
{
    return QPixmap(QStringLiteral(":/splash/starter.jpg"), "JPG");
}

namespace {

QLabel *titleLabel(QWidget *window, const char *objectName, const QString &text, int top)
{
    auto *label = new QLabel(text, window);
    label->setObjectName(QLatin1String(objectName));
    label->setGeometry(24, top, 329, 81);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont font(QStringLiteral("Arial Black"));
    font.setPixelSize(64);
    font.setBold(true);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    return label;
}

}  // namespace

void addStarterFace(QWidget *window)
{
    auto *image = new QLabel(window);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(0, 0, 377, 254);
    image->setPixmap(starterPicture());
    titleLabel(window, "Label1", QStringLiteral("Kalmor"), 0);
    titleLabel(window, "Label2", QStringLiteral("0.6"), 56);
}

}  // namespace kalmor
