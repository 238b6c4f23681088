#pragma once

#include "document/StationFile.h"
#include "support/StationBytes.h"

#include <QTemporaryFile>
#include <QTest>

namespace kalmor {

// Reads the bytes as one block on this thread, then in blocks of a few
// bytes on several threads, from memory and (withFile) from a file, and
// checks that every way gives the same station, message and line.
inline FileResult readBothWays(QByteArrayView bytes, StationData &into, bool withFile = true)
{
    const StationData start = into;
    ReadPlan whole;
    whole.blockSize = bytes.size() + 1;
    whole.threads = 1;
    const FileResult result = readStationBytes(bytes, into, whole);
    const QByteArray expected = stationBytes(into);

    const auto check = [&](const FileResult &r, const StationData &d, const char *how) {
        if (r.error != result.error || r.line != result.line || stationBytes(d) != expected) {
            qWarning() << how << "gave" << r.error << r.line << "instead of" << result.error << result.line;
            QTest::qFail("reading in blocks differs from reading at once", __FILE__, __LINE__);
        }
    };
    for (const qsizetype blockSize : {1, 64}) {
        StationData d = start;
        check(readStationBytes(bytes, d, ReadPlan{blockSize, 3, nullptr}), d, "blocks in memory");
    }
    if (withFile) {
        QTemporaryFile file;
        if (!file.open() || file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush())
            QTest::qFail("no temporary file", __FILE__, __LINE__);
        StationData d = start;
        check(readStationFile(file.fileName(), d, ReadPlan{5, 2, nullptr}), d, "blocks from a file");
    }
    return result;
}

}  // namespace kalmor
