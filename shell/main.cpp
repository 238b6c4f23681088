#include "shell/Application.h"
#include "shell/QtPrompts.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kalmor::installCzechQtTranslation(&app);
    // `kalmor FILE` opens the station FILE once the main window is up.
    kalmor::Application program(app.arguments().value(1));
    QObject::connect(&program, &kalmor::Application::finished, &app, [] { QCoreApplication::exit(0); },
                     Qt::QueuedConnection);
    return app.exec();
}
