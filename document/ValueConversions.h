#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace kalmor {

// The platform's text-to-integer rule: leading blanks, an optional sign,
// then decimal digits or a hexadecimal number after "$", "x", "X", "0x" or
// "0X". Decimal must fit 32 bits; hexadecimal may use all 32 bits and is
// taken as their two's complement. Nothing else, trailing blanks included.
std::optional<qint32> parseInteger(QByteArrayView text);
std::optional<qint32> parseInteger(QStringView text);

// True or false from any number (true when not zero) or from "True" and
// "False" in any letter case.
std::optional<bool> parseBoolean(QByteArrayView text);

// Decimal text of an integer, "-" only when negative.
QByteArray integerToText(qint64 value);

// "-1" for true and "0" for false, as the station file stores flags.
inline QByteArray booleanToText(bool b)
{
    return b ? QByteArrayLiteral("-1") : QByteArrayLiteral("0");
}

QString invalidIntegerMessage(const QString &text);
QString invalidBooleanMessage(const QString &text);

}  // namespace kalmor
