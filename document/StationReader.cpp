// The station file reader: the file is cut into blocks of whole lines,
// the blocks are read on every core, and their results are merged in file
// order, so the document gets exactly what reading line by line gives.
#include "document/FileErrors.h"
#include "document/LineInterpreter.h"
#include "document/OrderedWork.h"
#include "document/StationFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace kalmor {

namespace {

constexpr char CtrlZ = 0x1A;

// One block of whole lines on its way through the read.
struct Job {
    QByteArray bytes;  // owned when read from a file
    QByteArrayView text;
    ReadBlock result;
    bool done = false;
};

// Takes the blocks in file order into the document being read.
class Merger {
public:
    explicit Merger(StationData &into) : m_into(into)
    {
        m_into.tiles.clear();
        m_into.lamps.clear();
        m_into.plates.clear();
        m_into.areas.clear();
        m_into.deskElements.clear();
    }

    // False once reading must stop: a line failed.
    bool merge(Job &job)
    {
        ReadBlock &b = job.result;
        b.applySettings(m_into);
        m_tiles.push_back(std::move(b.tiles));
        m_lamps.push_back(std::move(b.lamps));
        m_plates.push_back(std::move(b.plates));
        m_areas.push_back(std::move(b.areas));
        m_deskElements.push_back(std::move(b.deskElements));
        if (b.lineTooLong) {
            m_result = {lineTooLongMessage(m_lines + b.errorLine), m_lines + b.errorLine};
            return false;
        }
        if (!b.error.isEmpty()) {
            m_result = {b.error, m_lines + b.errorLine};
            return false;
        }
        m_lines += b.lines;
        m_filledLines += b.filledLines;
        m_stationLines += b.stationLines;
        return true;
    }

    void fail(const QString &error) { m_result = {error, 0}; }

    FileResult finish()
    {
        // An empty file is an empty station; text of another kind is
        // refused, so that a save cannot overwrite it with a station.
        if (m_result.ok() && m_filledLines > 0 && m_stationLines == 0) {
            m_result = {notAStationMessage(), 0};
            return m_result;
        }
        appendAll(m_tiles, m_into.tiles);
        appendAll(m_lamps, m_into.lamps);
        appendAll(m_plates, m_into.plates);
        appendAll(m_areas, m_into.areas);
        appendAll(m_deskElements, m_into.deskElements);
        return m_result;
    }

private:
    template <class Record>
    static void appendAll(std::vector<std::vector<Record>> &parts, ElementList<Record> &list)
    {
        std::size_t total = 0;
        for (const auto &p : parts)
            total += p.size();
        std::vector<Record> all;
        all.reserve(total);
        for (auto &p : parts) {
            std::move(p.begin(), p.end(), std::back_inserter(all));
            std::vector<Record>().swap(p);
        }
        list.appendAll(std::move(all));
    }

    StationData &m_into;
    std::vector<std::vector<TPolePanelu>> m_tiles;
    std::vector<std::vector<TPoleZarovka>> m_lamps;
    std::vector<std::vector<TPoleStitek>> m_plates;
    std::vector<std::vector<TOblast>> m_areas;
    std::vector<std::vector<TPolePrvek>> m_deskElements;
    qsizetype m_lines = 0;
    qsizetype m_filledLines = 0;
    qsizetype m_stationLines = 0;
    FileResult m_result;
};

// Reads blocks on worker threads and merges them in file order.
class BlockRunner : public OrderedWork<Job> {
public:
    BlockRunner(int threads, Merger &merger)
        : OrderedWork<Job>(
              threads,
              [](Job &job) { interpretLines(job.text, job.result); },
              [&merger](Job &job) { return merger.merge(job); })
    {
    }
};

// A file of one block is read at once on the calling thread.
int threadsFor(const ReadPlan &plan, qint64 size)
{
    return size <= plan.blockSize ? 0 : workThreads(plan.threads);
}

std::unique_ptr<Job> viewJob(QByteArrayView text)
{
    auto job = std::make_unique<Job>();
    job->text = text;
    return job;
}

std::unique_ptr<Job> ownedJob(QByteArray bytes, qsizetype length)
{
    auto job = std::make_unique<Job>();
    job->bytes = std::move(bytes);
    job->text = QByteArrayView(job->bytes).first(length);
    return job;
}

// Closes the file however the read ends.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Fills buf from the file; returns the bytes read (fewer only at the end)
// or -1 with errno set.
qint64 readFully(int fd, char *buf, qint64 size)
{
    qint64 got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, buf + got, std::size_t(size - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

}  // namespace

FileResult readStationBytes(QByteArrayView bytes, StationData &into, const ReadPlan &plan)
{
    const void *z = bytes.isEmpty() ? nullptr : std::memchr(bytes.data(), CtrlZ, std::size_t(bytes.size()));
    if (z)
        bytes = bytes.first(static_cast<const char *>(z) - bytes.data());
    Merger merger(into);
    {
        BlockRunner runner(threadsFor(plan, bytes.size()), merger);
        const qsizetype step = std::max<qsizetype>(1, plan.blockSize);
        qsizetype start = 0;
        while (start < bytes.size()) {
            qsizetype end = bytes.size();
            if (bytes.size() - start > step) {
                // Whole lines: up to the last LF within the step, or past
                // the first one after it for a longer line.
                const QByteArrayView window = bytes.sliced(start, step);
                const qsizetype lf = window.lastIndexOf('\n');
                const qsizetype next = lf >= 0 ? start + lf : bytes.indexOf('\n', start + step);
                end = next >= 0 ? next + 1 : bytes.size();
            }
            if (!runner.add(viewJob(bytes.sliced(start, end - start))))
                break;
            start = end;
        }
        runner.finish();
    }
    return merger.finish();
}

FileResult readStationFile(const QString &path, StationData &into, const ReadPlan &plan)
{
    // Not blocking, so that opening a pipe with no writer returns at once;
    // only a regular file is read, so neither a pipe nor an endless device
    // can hold the program.
    const FileDescriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0)
        return {fileErrorMessage(errno ? errno : ENOENT)};
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        return {fileErrorMessage(errno ? errno : EIO)};
    if (!S_ISREG(info.st_mode))
        return {fileErrorMessage(EACCES)};

    Merger merger(into);
    {
        BlockRunner runner(threadsFor(plan, info.st_size), merger);
        const qsizetype blockSize = std::clamp<qsizetype>(plan.blockSize, 1, MaxLineBytes);
        QByteArray carry;  // the start of a line the last block did not end
        for (;;) {
            // A long line makes the read grow with it, so it costs its
            // length, not its length squared.
            const qsizetype want = std::max(blockSize, carry.size());
            QByteArray buffer(carry.size() + want, Qt::Uninitialized);
            std::memcpy(buffer.data(), carry.constData(), std::size_t(carry.size()));
            const qint64 n = readFully(file.get(), buffer.data() + carry.size(), want);
            if (n < 0) {
                const int error = errno;
                runner.finish();
                merger.fail(fileErrorMessage(error ? error : EIO));
                break;
            }
            if (plan.bytesRead)
                plan.bytesRead->fetch_add(n);
            qsizetype length = carry.size() + qsizetype(n);
            bool end = n < want;
            if (const void *z = std::memchr(buffer.constData() + carry.size(), CtrlZ, std::size_t(n))) {
                length = static_cast<const char *>(z) - buffer.constData();
                end = true;
            }
            if (end) {
                if (length > 0)
                    runner.add(ownedJob(std::move(buffer), length));
                break;
            }
            const qsizetype lf = QByteArrayView(buffer).first(length).lastIndexOf('\n');
            if (lf < 0) {
                carry = std::move(buffer);
                carry.truncate(length);
                if (carry.size() > MaxLineBytes) {
                    // The next line outgrew the limit before it ended.
                    auto job = std::make_unique<Job>();
                    job->result.lineTooLong = true;
                    job->result.errorLine = 1;
                    runner.add(std::move(job));
                    break;
                }
                continue;
            }
            carry = QByteArray(buffer.constData() + lf + 1, length - lf - 1);
            if (!runner.add(ownedJob(std::move(buffer), lf + 1)))
                break;
        }
        runner.finish();
    }
    return merger.finish();
}

}  // namespace kalmor
