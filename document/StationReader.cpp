// The station file reader: the file is cut into blocks of whole lines,
// the blocks are read on every core, and their results are merged in file
// order, so the document gets exactly what reading line by line gives.
#include "document/FileErrors.h"
#include "document/LargeMemory.h"
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
    LargeBuffer bytes;  // when read from a file
    QByteArrayView text;
    ReadBlock result;
};

// What finished blocks leave behind, for the blocks after them: a read
// touches the memory of a few blocks, not of every block. Used on the
// calling thread only.
class Spares {
public:
    ReadBlock block()
    {
        if (m_blocks.empty())
            return {};
        ReadBlock b = std::move(m_blocks.back());
        m_blocks.pop_back();
        b.reset();
        return b;
    }

    LargeBuffer buffer(qsizetype size)
    {
        for (LargeBuffer &b : m_buffers) {
            if (b.size() >= size) {
                LargeBuffer found = std::move(b);
                std::swap(b, m_buffers.back());
                m_buffers.pop_back();
                return found;
            }
        }
        return LargeBuffer(size);
    }

    void keep(Job &job)
    {
        m_blocks.push_back(std::move(job.result));
        keep(std::move(job.bytes));
    }

    void keep(LargeBuffer buffer)
    {
        if (buffer.data())
            m_buffers.push_back(std::move(buffer));
    }

private:
    std::vector<ReadBlock> m_blocks;
    std::vector<LargeBuffer> m_buffers;
};

// Takes the blocks in file order into the document being read. Each
// block's records go into the lists as it comes, while the blocks after
// it are still being read.
class Merger {
public:
    Merger(StationData &into, qint64 totalBytes, Spares &spares)
        : m_into(into), m_total(totalBytes), m_spares(spares)
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
        m_done += job.text.size();
        // What the rest of the file gives if it goes on as this block.
        const double rest = job.text.isEmpty() ? 0 : double(std::max<qint64>(m_total - m_done, 0)) / double(job.text.size());
        take(b.tiles, m_tiles, rest);
        take(b.lamps, m_lamps, rest);
        take(b.plates, m_plates, rest);
        take(b.areas, m_areas, rest);
        take(b.deskElements, m_deskElements, rest);
        bool go = true;
        if (b.lineTooLong) {
            m_result = {lineTooLongMessage(m_lines + b.errorLine), m_lines + b.errorLine};
            go = false;
        } else if (!b.error.isEmpty()) {
            m_result = {b.error, m_lines + b.errorLine};
            go = false;
        }
        m_lines += b.lines;
        m_filledLines += b.filledLines;
        m_stationLines += b.stationLines;
        m_spares.keep(job);
        return go;
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
        m_into.tiles.appendAll(std::move(m_tiles));
        m_into.lamps.appendAll(std::move(m_lamps));
        m_into.plates.appendAll(std::move(m_plates));
        m_into.areas.appendAll(std::move(m_areas));
        m_into.deskElements.appendAll(std::move(m_deskElements));
        return m_result;
    }

private:
    // A list that must grow grows to what the rest of the file would give,
    // at least twice its size: a station's lists move once or twice, not
    // once a block. Room never used is never touched, so it costs no memory.
    template <class Record>
    static void take(LargeVector<Record> &part, std::vector<Record> &all, double rest)
    {
        if (part.empty())
            return;
        if (all.capacity() - all.size() < part.size()) {
            const auto guess = all.size() + part.size() + std::size_t(double(part.size()) * rest);
            reserveLarge(all, std::max(guess, 2 * all.capacity()));
        }
        std::move(part.begin(), part.end(), std::back_inserter(all));
        part.clear();
    }

    StationData &m_into;
    qint64 m_total;
    qint64 m_done = 0;
    Spares &m_spares;
    std::vector<TPolePanelu> m_tiles;
    std::vector<TPoleZarovka> m_lamps;
    std::vector<TPoleStitek> m_plates;
    std::vector<TOblast> m_areas;
    std::vector<TPolePrvek> m_deskElements;
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

std::unique_ptr<Job> viewJob(QByteArrayView text, Spares &spares)
{
    auto job = std::make_unique<Job>();
    job->text = text;
    job->result = spares.block();
    return job;
}

std::unique_ptr<Job> ownedJob(LargeBuffer bytes, qsizetype length, Spares &spares)
{
    auto job = viewJob(QByteArrayView(bytes.data(), length), spares);
    job->bytes = std::move(bytes);
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
    Spares spares;
    Merger merger(into, bytes.size(), spares);
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
            if (!runner.add(viewJob(bytes.sliced(start, end - start), spares)))
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

    Spares spares;
    Merger merger(into, info.st_size, spares);
    {
        BlockRunner runner(threadsFor(plan, info.st_size), merger);
        const qsizetype blockSize = std::clamp<qsizetype>(plan.blockSize, 1, MaxLineBytes);
        QByteArray carry;  // the start of a line the last block did not end
        for (;;) {
            // A long line makes the read grow with it, so it costs its
            // length, not its length squared.
            const qsizetype size = std::max(blockSize, 2 * carry.size());
            LargeBuffer buffer = spares.buffer(size);
            if (!carry.isEmpty())
                std::memcpy(buffer.data(), carry.constData(), std::size_t(carry.size()));
            const qsizetype want = size - carry.size();
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
            if (const void *z = std::memchr(buffer.data() + carry.size(), CtrlZ, std::size_t(n))) {
                length = static_cast<const char *>(z) - buffer.data();
                end = true;
            }
            if (end) {
                if (length > 0)
                    runner.add(ownedJob(std::move(buffer), length, spares));
                break;
            }
            const qsizetype lf = QByteArrayView(buffer.data(), length).lastIndexOf('\n');
            if (lf < 0) {
                carry = QByteArray(buffer.data(), length);
                spares.keep(std::move(buffer));
                if (carry.size() > MaxLineBytes) {
                    // The next line outgrew the limit before it ended.
                    auto job = viewJob({}, spares);
                    job->result.lineTooLong = true;
                    job->result.errorLine = 1;
                    runner.add(std::move(job));
                    break;
                }
                continue;
            }
            carry = QByteArray(buffer.data() + lf + 1, length - lf - 1);
            if (!runner.add(ownedJob(std::move(buffer), lf + 1, spares)))
                break;
        }
        runner.finish();
    }
    return merger.finish();
}

}  // namespace kalmor
