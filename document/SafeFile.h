#pragma once

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

namespace kalmor {

// A file written beside the old one and put in its place by commit(), so a
// failed write never damages what was there. Only a regular file (or a new
// one) is replaced: writing over a pipe or a device, or a link to one,
// would hang or destroy the device node. The first system error is kept,
// so the message names what really went wrong.
class SafeFile {
public:
    explicit SafeFile(const QString &path) : m_file(path) {}

    bool open();
    // Writes the bytes through to the file (not kept in a buffer).
    bool write(QByteArrayView bytes);
    bool commit();

    QIODevice &device() { return m_file; }
    int handle() const { return m_file.handle(); }
    // The system error of the first failure; 0 while everything went well.
    int errorNumber() const { return m_errno; }
    QString error() const;

private:
    bool fail(int e);

    QSaveFile m_file;
    int m_errno = 0;
};

}  // namespace kalmor
