#include "tools/ElementPictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

// Draws the element pictures from their drawing rules into the directory
// given as the only argument, one `<name>.png` per picture.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        err << "usage: kalmor-pictures <output directory>\n";
        return 2;
    }
    QDir dir(args[1]);
    if (!dir.mkpath(QStringLiteral("."))) {
        err << "cannot create " << args[1] << '\n';
        return 1;
    }
    for (const QString &name : kalmor::elementPictureNames()) {
        const QString path = dir.filePath(name + QStringLiteral(".png"));
        if (!kalmor::drawElementPicture(name).save(path, "PNG")) {
            err << "cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}
