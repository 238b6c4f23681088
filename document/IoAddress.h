#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSharedData>
#include <QSharedDataPointer>
#include <QString>

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace kalmor {

// Boards and pins are numbered from 1 to 9999.
inline constexpr int MinIoNumber = 1;
inline constexpr int MaxIoNumber = 9999;
inline constexpr bool isIoNumber(qint64 n) { return n >= MinIoNumber && n <= MaxIoNumber; }

// Where one point of the desk is wired: a pin of a board, "board.pin".
struct IoAddress {
    quint16 board = 0;
    quint16 pin = 0;
    friend bool operator==(const IoAddress &, const IoAddress &) = default;
};

// The code of an I/O role ("CE", "T", "PORUCHA"): one to eight ASCII
// capitals, digits or underscores, kept in place so that an address costs
// no allocation.
class IoRoleCode {
public:
    static constexpr std::size_t MaxLength = 8;

    // Nothing when the text is no role code.
    static std::optional<IoRoleCode> from(QByteArrayView text);
    QByteArrayView text() const;
    QString toString() const { return QString::fromLatin1(text()); }
    friend bool operator==(const IoRoleCode &, const IoRoleCode &) = default;

private:
    std::array<char, MaxLength> m_chars{};
};

struct IoAssignment {
    IoRoleCode role;
    IoAddress address;
    friend bool operator==(const IoAssignment &, const IoAssignment &) = default;
};

// The addresses of one element's roles: only those that are set, in the
// order they were first set. A value the size of a pointer that allocates
// nothing while empty; copies share the entries until one is changed.
class IoAddresses {
public:
    bool isEmpty() const { return !d || d->entries.empty(); }
    std::span<const IoAssignment> entries() const;
    std::optional<IoAddress> find(QByteArrayView role) const;
    // Sets the role's address (in its place when it has one), or removes
    // it when address is nothing.
    void set(const IoRoleCode &role, std::optional<IoAddress> address);

    friend bool operator==(const IoAddresses &a, const IoAddresses &b);

private:
    struct Data : QSharedData {
        std::vector<IoAssignment> entries;
    };
    QSharedDataPointer<Data> d;
};

// Room the text of the addresses takes, at most, in a line.
qsizetype ioValueRoom(const IoAddresses &addresses);

// Writes the value of an IO= field, "CE:2.17,ZE:2.18", at `at`, which has
// ioValueRoom() bytes; returns the end.
char *putIoValue(char *at, const IoAddresses &addresses);
QByteArray ioValueText(const IoAddresses &addresses);

// Reads the value of an IO= field into `out`; entries are separated by
// ",", empty ones skipped, and a role met twice takes the later address.
// Returns the message that stops the read: a number the platform cannot
// read is a bad number, anything else out of shape or range a bad
// address; empty when all was read.
QString readIoValue(QByteArrayView text, IoAddresses &out);

QString invalidIoAddressMessage(const QString &text);

}  // namespace kalmor
