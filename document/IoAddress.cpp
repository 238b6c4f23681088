#include "document/IoAddress.h"

#include "document/ValueConversions.h"
#include "document/Windows1250.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace kalmor {

namespace {

bool isRoleChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Widest text of one entry: a role, ":", two numbers of four digits, "."
// and the "," before the next.
constexpr qsizetype EntryRoom = qsizetype(IoRoleCode::MaxLength) + 1 + 4 + 1 + 4 + 1;

char *putNumber(char *at, quint16 n)
{
    return std::to_chars(at, at + 5, n).ptr;
}

}  // namespace

std::optional<IoRoleCode> IoRoleCode::from(QByteArrayView text)
{
    if (text.isEmpty() || std::size_t(text.size()) > MaxLength || !std::all_of(text.begin(), text.end(), isRoleChar))
        return std::nullopt;
    IoRoleCode code;
    std::memcpy(code.m_chars.data(), text.data(), std::size_t(text.size()));
    return code;
}

QByteArrayView IoRoleCode::text() const
{
    const auto end = std::find(m_chars.begin(), m_chars.end(), '\0');
    return QByteArrayView(m_chars.data(), end - m_chars.begin());
}

std::span<const IoAssignment> IoAddresses::entries() const
{
    if (!d)
        return {};
    return d->entries;
}

std::optional<IoAddress> IoAddresses::find(QByteArrayView role) const
{
    for (const IoAssignment &a : entries()) {
        if (a.role.text() == role)
            return a.address;
    }
    return std::nullopt;
}

void IoAddresses::set(const IoRoleCode &role, std::optional<IoAddress> address)
{
    const auto current = entries();
    const auto it = std::find_if(current.begin(), current.end(), [&](const IoAssignment &a) { return a.role == role; });
    if (!address) {
        if (it == current.end())
            return;
        const auto at = it - current.begin();
        d->entries.erase(d->entries.begin() + at);
        if (d->entries.empty())
            d.reset();
        return;
    }
    if (!d)
        d = new Data;
    if (it != current.end())
        d->entries[std::size_t(it - current.begin())].address = *address;
    else
        d->entries.push_back({role, *address});
}

bool operator==(const IoAddresses &a, const IoAddresses &b)
{
    const auto x = a.entries();
    const auto y = b.entries();
    return std::equal(x.begin(), x.end(), y.begin(), y.end());
}

qsizetype ioValueRoom(const IoAddresses &addresses)
{
    return EntryRoom * qsizetype(addresses.entries().size());
}

char *putIoValue(char *at, const IoAddresses &addresses)
{
    bool first = true;
    for (const IoAssignment &a : addresses.entries()) {
        if (!first)
            *at++ = ',';
        first = false;
        const QByteArrayView role = a.role.text();
        std::memcpy(at, role.data(), std::size_t(role.size()));
        at += role.size();
        *at++ = ':';
        at = putNumber(at, a.address.board);
        *at++ = '.';
        at = putNumber(at, a.address.pin);
    }
    return at;
}

QByteArray ioValueText(const IoAddresses &addresses)
{
    QByteArray text(ioValueRoom(addresses), Qt::Uninitialized);
    text.truncate(putIoValue(text.data(), addresses) - text.constData());
    return text;
}

QString invalidIoAddressMessage(const QString &text)
{
    return QStringLiteral("'%1' is not a valid I/O address").arg(text);
}

QString readIoValue(QByteArrayView text, IoAddresses &out)
{
    while (!text.isEmpty()) {
        const qsizetype comma = text.indexOf(',');
        const QByteArrayView entry = comma < 0 ? text : text.first(comma);
        text = comma < 0 ? QByteArrayView() : text.sliced(comma + 1);
        if (entry.isEmpty())
            continue;
        const QString bad = invalidIoAddressMessage(decodeWindows1250(entry));
        const qsizetype colon = entry.indexOf(':');
        const qsizetype dot = entry.lastIndexOf('.');
        if (colon < 0 || dot < colon)
            return bad;
        const std::optional<IoRoleCode> role = IoRoleCode::from(entry.first(colon));
        if (!role)
            return bad;
        IoAddress address;
        for (const auto &[part, number] : {std::pair(entry.sliced(colon + 1, dot - colon - 1), &address.board),
                                           std::pair(entry.sliced(dot + 1), &address.pin)}) {
            const std::optional<qint32> n = parseInteger(part);
            if (!n)
                return invalidIntegerMessage(decodeWindows1250(part));
            if (!isIoNumber(*n))
                return bad;
            *number = quint16(*n);
        }
        out.set(*role, address);
    }
    return {};
}

}  // namespace kalmor
