#include "shell/Application.h"
#include "shell/QtPrompts.h"
#include "view/DesignFont.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kalmor::installCzechQtTranslation(&app);
    kalmor::useDesignFontFallback();
    QIcon icon;
    for (const int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/icons/kalmor-%1.png").arg(size));
    app.setWindowIcon(icon);
    app.setDesktopFileName(QStringLiteral("kalmor"));
    // `kalmor FILE` opens the station FILE once the main window is up.
    kalmor::Application program(app.arguments().value(1));
    QObject::connect(&program, &kalmor::Application::finished, &app, [] { QCoreApplication::exit(0); },
                     Qt::QueuedConnection);
    return app.exec();
}
