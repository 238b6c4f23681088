#include "document/SafeFile.h"

#include "document/FileErrors.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
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

bool SafeFile::commit()
{
    errno = 0;
    if (!m_file.commit())
        return fail(errno ? errno : EIO);
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
