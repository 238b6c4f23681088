#pragma once

#include "document/StationDocument.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <atomic>
#include <functional>
#include <vector>

namespace kalmor {

// Outcome of a read or a write: empty error text on success, otherwise the
// message the user is shown.
struct FileResult {
    QString error;
    qsizetype line = 0;  // the line a read stopped at, from 1, when a line failed
    bool ok() const { return error.isEmpty(); }
};

// Splits a line at ";": a separator at the very end gives no empty last
// field, an empty line gives no field at all.
std::vector<QByteArrayView> splitLine(QByteArrayView line);

// How a read is cut up: blocks of whole lines, read on several threads
// and merged in file order, which gives exactly what reading line by line
// gives. The defaults use every core.
struct ReadPlan {
    qsizetype blockSize = qsizetype(4) << 20;
    int threads = 0;  // 0: one per core
    // Advanced by the bytes read so far, for a progress display.
    std::atomic<qint64> *bytesRead = nullptr;
};

// Reads a station file into `into`: the four lists are emptied first,
// settings the file does not mention keep the values `into` had. On failure
// `into` holds what was read so far; callers read into a fresh copy and
// take it over only on success. Only regular files are read: a folder, a
// pipe or a device (or a link to one) gives "File access denied".
FileResult readStationFile(const QString &path, StationData &into, const ReadPlan &plan = {});

// The same reading rules applied to bytes already in memory.
FileResult readStationBytes(QByteArrayView bytes, StationData &into, const ReadPlan &plan = {});

// What the save command hears while the writer works.
struct WriteObserver {
    std::function<void()> emptyPanel;                  // no element: only settings are written
    std::function<void(qsizetype total)> elementsBegin;
    std::function<void()> elementWritten;              // after every element line
    std::function<void()> elementsEnd;                 // all element lines written
};

// Writes the station to `path`. The new file is written beside the old one
// and replaces it only when everything was written, so a failed save never
// damages the file already on disk. Only a regular file is replaced: a
// folder, a pipe or a device (or a link to one) gives "File access denied".
FileResult writeStationFile(const QString &path, const StationData &data, const WriteObserver &observer = {});

// Element lines exactly as a station file holds them, each kind name
// encoded once: what the writer writes, and what a copy of panel elements
// puts on the clipboard.
class ElementLines {
public:
    void append(QByteArray &out, const TPolePanelu &t);
    void append(QByteArray &out, const TPoleZarovka &z);
    void append(QByteArray &out, const TPoleStitek &s);
    void append(QByteArray &out, const TPolePrvek &p);

private:
    const QByteArray &nameBytes(const QString &name);

    QHash<QString, QByteArray> m_names;
};

// The exact bytes of a station file, for tests and for the writer.
QByteArray settingLines(const StationData &data);
QByteArray tileLine(const TPolePanelu &t);
QByteArray lampLine(const TPoleZarovka &z);
QByteArray plateLine(const TPoleStitek &s);
// Areas are written after every element line.
QByteArray areaLine(const TOblast &a);
QByteArray areaLines(const StationData &data);
QByteArray deskElementLine(const TPolePrvek &p);

}  // namespace kalmor
