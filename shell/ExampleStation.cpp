#include "shell/ExampleStation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kalmor {

QString exampleStationPath()
{
    const QDir program(QCoreApplication::applicationDirPath());
    for (const QString &candidate : {QStringLiteral("../share/kalmor/ukazka.stvx"),
                                     QStringLiteral("share/kalmor/ukazka.stvx")}) {
        const QFileInfo file(program.filePath(candidate));
        if (file.isFile())
            return file.canonicalFilePath();
    }
    return {};
}

}  // namespace kalmor
