#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace kalmor {

// Station files are written in windows-1250, the code page of Czech texts.
QString decodeWindows1250(QByteArrayView bytes);

// Characters the code page cannot hold become "?".
QByteArray encodeWindows1250(QStringView text);

// Writes the text's bytes (one a character, "?" for what the code page
// cannot hold) from `out` on and returns the end: for writers that format
// into memory they have made room in.
char *putWindows1250(QStringView text, char *out);

// The byte of a character, or nothing when the code page lacks it.
std::optional<char> windows1250Byte(QChar c);

// Whether every character of the text can be stored.
bool isWindows1250Text(QStringView text);

}  // namespace kalmor
