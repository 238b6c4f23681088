#include "tools/shellart/AppIcon.h"
#include "tools/shellart/Glyphs.h"
#include "tools/shellart/StarterPicture.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

// Usage: kalmor-shellart <resources folder>
// Writes glyphs/<name>.png, splash/starter.jpg and icons/kalmor-<size>.png
// below that folder.
int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: kalmor-shellart <resources folder>\n";
        return 2;
    }
    const QDir root(args.at(1));
    if (!root.mkpath(QStringLiteral("glyphs")) || !root.mkpath(QStringLiteral("splash"))
        || !root.mkpath(QStringLiteral("icons"))) {
        err << "cannot create the output folders\n";
        return 1;
    }
    for (const kalmor::Glyph &g : kalmor::drawGlyphs()) {
        const QString path = root.filePath(QStringLiteral("glyphs/") + g.fileName);
        if (!g.image.save(path, "PNG")) {
            err << "cannot write " << path << "\n";
            return 1;
        }
    }
    for (const int size : kalmor::AppIconSizes) {
        const QString path = root.filePath(QStringLiteral("icons/kalmor-%1.png").arg(size));
        if (!kalmor::drawAppIcon(size).save(path, "PNG")) {
            err << "cannot write " << path << "\n";
            return 1;
        }
    }
    const QString splash = root.filePath(QStringLiteral("splash/starter.jpg"));
    if (!kalmor::drawStarterPicture().save(splash, "JPEG", 88)) {
        err << "cannot write " << splash << "\n";
        return 1;
    }
    return 0;
}
