#include "document/ValueConversions.h"

#include <charconv>
#include <cstdlib>
#include <limits>

namespace kalmor {

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A plain decimal fraction or exponent ("0.5", "-2e3"), the other kind of
// number a flag may hold.
bool isDecimalFloat(QByteArrayView t)
{
    qsizetype i = 0;
    while (i < t.size() && t[i] == ' ')
        ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    qsizetype digits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') { ++i; ++digits; }
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') { ++i; ++digits; }
    }
    if (digits == 0)
        return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        qsizetype exp = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') { ++i; ++exp; }
        if (exp == 0)
            return false;
    }
    return i == t.size();
}

bool isNonZeroFloat(QByteArrayView t)
{
    for (const char c : t) {
        if (c >= '1' && c <= '9')
            return true;
        if (c == 'e' || c == 'E')
            return false;  // only the mantissa decides
    }
    return false;
}

}  // namespace

std::optional<qint32> parseInteger(QByteArrayView t)
{
    qsizetype i = 0;
    while (i < t.size() && t[i] == ' ')
        ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < t.size() && (t[i] == '$' || t[i] == 'x' || t[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == t.size())
        return std::nullopt;
    quint64 value = 0;
    if (hex) {
        for (; i < t.size(); ++i) {
            const int d = hexDigit(t[i]);
            if (d < 0)
                return std::nullopt;
            value = value * 16 + quint64(d);
            if (value > 0xFFFFFFFFull)
                return std::nullopt;
        }
        const quint32 bits = negative ? quint32(0u - quint32(value)) : quint32(value);
        return qint32(bits);
    }
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return std::nullopt;
        value = value * 10 + quint64(t[i] - '0');
        if (value > 0x80000000ull)
            return std::nullopt;
    }
    if (!negative && value > 0x7FFFFFFFull)
        return std::nullopt;
    return negative ? qint32(-qint64(value)) : qint32(value);
}

std::optional<qint32> parseInteger(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return std::nullopt;
    }
    return parseInteger(QByteArrayView(text.toLatin1()));
}

std::optional<bool> parseBoolean(QByteArrayView t)
{
    if (const auto v = parseInteger(t))
        return *v != 0;
    if (isDecimalFloat(t))
        return isNonZeroFloat(t);
    if (t.compare("True", Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare("False", Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

QByteArray integerToText(qint64 value)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return QByteArray(buf, r.ptr - buf);
}

QString invalidIntegerMessage(const QString &text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

QString invalidBooleanMessage(const QString &text)
{
    return QStringLiteral("'%1' is not a valid boolean value").arg(text);
}

}  // namespace kalmor
