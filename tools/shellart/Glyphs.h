#pragma once

#include <QImage>
#include <QString>

#include <vector>

namespace kalmor {

struct Glyph {
    QString fileName;
    QImage image;
};

// The tool-bar and menu glyphs: blank sheet, floppy disk, two floppy disks,
// open yellow folder, green arrow pointing left, and the anchor.
std::vector<Glyph> drawGlyphs();

}  // namespace kalmor
