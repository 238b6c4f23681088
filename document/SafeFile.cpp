#include "document/SafeFile.h"

#include "document/FileErrors.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <thread>
#include <unistd.h>
#include <sys/stat.h>

namespace kalmor {

bool SafeFile::open()
{
    struct stat info {};
    const QByteArray name = QFile::encodeName(m_file.fileName());
    if (::stat(name.constData(), &info) == 0 && (!S_ISREG(info.st_mode) || !QFileInfo(m_file.fileName()).isWritable()))
        return fail(EACCES);
    errno = 0;
    if (!m_file.open(QIODevice::WriteOnly))
        return fail(errno ? errno : EACCES);
    return true;
}

bool SafeFile::write(QByteArrayView bytes)
{
    errno = 0;
    if (m_file.write(bytes.data(), bytes.size()) != bytes.size() || !m_file.flush())
        return fail(errno ? errno : EIO);
    return true;
}

namespace {

// The file now at the path, held open when it is a regular file, or -1.
int holdReplaced(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

bool SafeFile::commit()
{
    // A replaced file's blocks are freed when its last name and handle go,
    // which for a station of a hundred megabytes takes a good part of the
    // save. Held open across the rename and let go on a thread of its own,
    // the save does not wait for it.
    const int replaced = holdReplaced(m_file.fileName());
    errno = 0;
    const bool committed = m_file.commit();
    const int error = errno;
    if (replaced >= 0)
        std::thread([replaced] { ::close(replaced); }).detach();
    if (!committed)
        return fail(error ? error : EIO);
    return true;
}

QString SafeFile::error() const
{
    return fileErrorMessage(m_errno);
}

bool SafeFile::fail(int e)
{
    m_errno = e;
    return false;
}

}  // namespace kalmor
