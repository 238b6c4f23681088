#pragma once

#include "document/Records.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QString>

#include <memory>
#include <mutex>
#include <vector>

namespace kalmor {

// Plate texts are not drawn on cells smaller than this: the letters could
// not be read.
inline constexpr int SmallestTextCell = 12;
// Desk designations stand in the strip under their picture, which is
// too narrow to read below this cell size.
inline constexpr int SmallestDesignationCell = 24;

// The face of plate texts; its size follows the cell size.
inline const QString PlateTextFamily = QStringLiteral("DejaVu Sans");
int plateTextPixelSize(int cellSize);
QFont plateTextFont(int cellSize);

// What places the texts of one cell size: the baseline of a plate's text
// within its cell, and how wide one character can be (for how far a text
// of n characters can reach).
struct TextLook {
    int cellSize = 0;
    int capHeight = 0;
    int descent = 0;
    int widestCharacter = 0;  // of everything a station file can hold
};

// The row of the text's baseline within its cell (0 = the cell's top):
// the capitals stand centred on the plate's band (bottom, top or middle
// as the kind says; the middle for names that are no plate kind), or for
// a desk element on the strip under its picture (in the middle, on its
// face, for the group button and the lit inscription), kept inside the
// cell.
int textBaseline(const QString &kind, const TextLook &look);

// The colour of the letters, and of the narrow halo around them that
// keeps a text read where it runs over track or the panel beside its
// plate: the plate's own cream.
inline constexpr QRgb TextColour = 0xFF000000;
inline constexpr QRgb TextHaloColour = 0xFFF0EFDA;

// A text drawn once at one cell size, as coverage (Format_Alpha8) of the
// letters and of their halo, one pixel wider all round. The box the text
// is centred in is `advance` wide; the coverages' top-left lies at
// `offset` from the pen, which stands at the box's left on the baseline.
struct TextPicture {
    QImage coverage;
    QImage halo;
    int advance = 0;
    QPoint offset;
};

// The texts drawn so far, kept per cell size, so that a frame lays out
// no text and the first frame after a zoom lays out only what it shows.
// A text is put together from its letters, each drawn once per cell size,
// side by side at their advances: a zoom that shows two hundred new texts
// draws a few dozen letters. Frames of several threads may ask at once.
class TextPictures {
public:
    TextPictures() = default;
    TextPictures(const TextPictures &) = delete;
    TextPictures &operator=(const TextPictures &) = delete;

    TextLook look(int cellSize) const;
    std::shared_ptr<const TextPicture> picture(const QString &text, int cellSize) const;
    // Makes the pictures of those texts that picture() has not at hand,
    // on every core at once: the first frame after a zoom shows hundreds.
    void prepare(const std::vector<const QString *> &texts, int cellSize) const;

private:
    // One letter at one size: its coverage, whose top-left lies at
    // `offset` from the pen on the baseline, and how far it moves the pen.
    struct Glyph {
        QImage coverage;
        QPoint offset;
        int advance = 0;
    };
    struct Size {
        TextLook look;
        QFont font;
        QHash<char16_t, Glyph> glyphs;
        QHash<QString, std::shared_ptr<const TextPicture>> texts;
        qint64 bytes = 0;
        quint64 used = 0;
    };
    // Where the letters of a text stand, from the pen at 0, and the ink
    // of them all with room for the halo.
    struct Layout {
        std::vector<std::pair<Glyph, QPoint>> letters;
        QRect ink;
        int pen = 0;
    };
    Size &sizeLocked(int cellSize) const;
    static const Glyph &glyphLocked(Size &size, QChar c);
    static Layout layoutLocked(Size &size, const QString &text);
    static std::shared_ptr<const TextPicture> made(const Layout &layout);
    static void keepLocked(Size &size, const QString &text, std::shared_ptr<const TextPicture> picture);

    mutable std::mutex m_lock;
    mutable std::vector<std::unique_ptr<Size>> m_sizes;
    mutable quint64 m_uses = 0;
    mutable int m_widestMeasured = 0;  // at a size of its own
};

}  // namespace kalmor
