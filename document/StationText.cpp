#include "document/StationText.h"

#include "document/Windows1250.h"

namespace kalmor {

bool isStationText(QStringView text)
{
    for (const QChar c : text) {
        if (c == u';' || c == u'\r' || c == u'\n')
            return false;
    }
    return isWindows1250Text(text);
}

QString refusedPlateTextMessage()
{
    return QStringLiteral("Text popisku nesmí obsahovat středník, konec řádku ani znaky, "
                          "které soubor stanice neuloží (mimo kódování windows-1250).");
}

}  // namespace kalmor
