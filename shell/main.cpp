#include "document/StationDocument.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(kalmor::ProgramTitle + QStringLiteral(" - Nová stanice"));
    window.resize(904, 561);
    window.show();
    return app.exec();
}
