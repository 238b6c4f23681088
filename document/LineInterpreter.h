#pragma once

#include "document/LargeMemory.h"
#include "document/StationDocument.h"

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace kalmor {

// The refusal of a file with lines, none of them a station file's.
QString notAStationMessage();

// Lines longer than this stop a read: a file of one endless line (or a
// device that never ends one) must not take all memory.
inline constexpr qsizetype MaxLineBytes = qsizetype(64) << 20;

// "Line <n> is longer than 64 MiB".
QString lineTooLongMessage(qsizetype line);

// What the lines of one block of a station file give. Blocks are read
// independently, on several threads, and merged in file order; merging a
// block does exactly what reading its lines one by one into the document
// would have done.
struct ReadBlock {
    LargeVector<TPolePanelu> tiles;
    LargeVector<TPoleZarovka> lamps;
    LargeVector<TPoleStitek> plates;
    LargeVector<TOblast> areas;
    LargeVector<TPolePrvek> deskElements;

    // The settings the block met: the last value of each, since a later
    // line wins.
    std::optional<qint32> rows;
    std::optional<qint32> columns;
    std::optional<Colour> backgroundColour;
    std::optional<QString> stationName;
    std::optional<QString> author;
    std::optional<QString> version;
    std::optional<QString> description;
    std::optional<QString> issueDate;

    qsizetype lines = 0;    // lines read, the failing one included
    qsizetype filledLines = 0;   // lines with at least one field
    qsizetype stationLines = 0;  // lines with a key of a station file
    QString error;          // message of the line reading stopped at
    qsizetype errorLine = 0;  // its number within the block, from 1
    // The line reading stopped at was too long; its message needs the
    // number of the line in the whole file.
    bool lineTooLong = false;

    // Applies the settings to the document being read.
    void applySettings(StationData &into) const;

    // Empty again for the next block, the room of the lists kept.
    void reset();
};

// Reads the lines of text into the block. A line ends at LF or CR LF, any
// other CR is dropped from it, and the text after the last LF is a line
// of its own; the caller has cut the text at a Ctrl-Z. Reading stops at
// the first line that fails. Element lines in the writer's own form are
// read in one pass over their bytes; fast = false reads every line field
// by field, which must give the same.
void interpretLines(QByteArrayView text, ReadBlock &block, bool fast = true);

}  // namespace kalmor
