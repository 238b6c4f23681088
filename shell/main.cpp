#include "shell/Application.h"
#include "shell/QtPrompts.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kalmor::installCzechQtTranslation(&app);
    kalmor::Application program;
    QObject::connect(&program, &kalmor::Application::finished, &app, [] { QCoreApplication::exit(0); },
                     Qt::QueuedConnection);
    return app.exec();
}
