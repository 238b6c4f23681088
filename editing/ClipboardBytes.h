#pragma once

#include <QByteArray>
#include <QStringView>

namespace kalmor {

// The clipboard's text as the bytes of a station file (windows-1250, "?"
// for what the code page cannot hold), for the reader to read. Every
// character gives one byte, so a long text is cut into pieces encoded on
// every core; runs of ASCII, nearly all of a station's lines, are copied
// many characters at a time.
QByteArray stationBytesOf(QStringView text);

}  // namespace kalmor
