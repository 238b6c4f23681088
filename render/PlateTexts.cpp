#include "render/PlateTexts.h"

#include "catalogue/ElementKinds.h"
#include "document/Windows1250.h"
#include "render/TileRunner.h"
#include "render/Viewport.h"

#include <QFontMetrics>
#include <QPainter>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace kalmor {

namespace {

// Sizes kept: the current one and those a zoom has just passed.
constexpr std::size_t KeptSizes = 4;
// Texts of one size are kept up to this many bytes, then drawn anew.
constexpr qint64 BytesPerSize = qint64(64) << 20;
// A letter's coverage reaches a pixel past its ink on every side
// (anti-aliasing); a text's reaches one more, for its halo.
constexpr int Margin = 1;

// The top row of the plate's band in the 47-pixel design and its height:
// the pictures "STI_Cely_Dole", "STI_Cely_Nahore", "STI_Cely_Uprostred".
// Desk pictures leave the bottom band free for the designation, except
// the two that carry it on their face.
constexpr double BandHeight = 11;
constexpr double BottomBand = 35;
constexpr double MiddleBand = 18;
double bandTop(const QString &kind)
{
    if (kind == u"STI_Cely_Dole")
        return BottomBand;
    if (kind == u"STI_Cely_Nahore")
        return 0;
    if (kind == u"TLA_SK" || kind == u"PRU_TXT")
        return MiddleBand;
    if (elementClassOf(kind) == ElementClass::DeskElement)
        return BottomBand;
    return MiddleBand;
}

// Every character a station file can hold: the widest of them bounds how
// far a text of n characters reaches. Measured once at a large size and
// scaled, since measuring them all at each new size would cost the first
// frame after a zoom more than its texts; the margin covers advances that
// hinting rounds up at small sizes.
constexpr int MeasuredPixels = 200;
constexpr int HintingMargin = 2;
int widestCharacter(const QFontMetrics &metrics)
{
    int widest = 0;
    for (int b = 0x20; b < 0x100; ++b) {
        const char byte = char(b);
        widest = std::max(widest, metrics.horizontalAdvance(decodeWindows1250(QByteArrayView(&byte, 1))));
    }
    return widest;
}

// The most a pixel's neighbours (and itself) cover, along one axis.
void widenAlong(const QImage &from, QImage &to, bool across)
{
    const int w = from.width();
    const int h = from.height();
    for (int y = 0; y < h; ++y) {
        uchar *out = to.scanLine(y);
        if (across) {
            const uchar *in = from.constScanLine(y);
            for (int x = 0; x < w; ++x)
                out[x] = std::max({in[std::max(0, x - 1)], in[x], in[std::min(w - 1, x + 1)]});
        } else {
            const uchar *above = from.constScanLine(std::max(0, y - 1));
            const uchar *in = from.constScanLine(y);
            const uchar *below = from.constScanLine(std::min(h - 1, y + 1));
            for (int x = 0; x < w; ++x)
                out[x] = std::max({above[x], in[x], below[x]});
        }
    }
}

// Each pixel of the halo covers as much as the most covered letter pixel
// beside it.
QImage haloOf(const QImage &coverage)
{
    QImage across(coverage.size(), QImage::Format_Alpha8);
    QImage halo(coverage.size(), QImage::Format_Alpha8);
    widenAlong(coverage, across, true);
    widenAlong(across, halo, false);
    return halo;
}

// Coverage laid over coverage, as ink over ink.
void layOver(QImage &into, const QImage &glyph, QPoint at)
{
    for (int y = 0; y < glyph.height(); ++y) {
        const uchar *in = glyph.constScanLine(y);
        uchar *out = into.scanLine(at.y() + y) + at.x();
        for (int x = 0; x < glyph.width(); ++x)
            out[x] = uchar(out[x] + (uint(in[x]) * (255u - out[x]) + 127) / 255);
    }
}

}  // namespace

int plateTextPixelSize(int cellSize)
{
    // 10 pixels on the 11 rows of a plate at the design size, never so
    // small that the letters could not be read.
    return std::max(8, int(std::lround(cellSize * 10.0 / Viewport::DesignCellSize)));
}

QFont plateTextFont(int cellSize)
{
    QFont font(PlateTextFamily);
    font.setPixelSize(plateTextPixelSize(cellSize));
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    return font;
}

int textBaseline(const QString &kind, const TextLook &look)
{
    const double centre = (bandTop(kind) + BandHeight / 2) * look.cellSize / Viewport::DesignCellSize;
    const int baseline = int(std::lround(centre + look.capHeight / 2.0));
    return std::clamp(baseline, std::min(look.capHeight + 1, look.cellSize), std::max(0, look.cellSize - look.descent));
}

TextPictures::Size &TextPictures::sizeLocked(int cellSize) const
{
    ++m_uses;
    for (const auto &size : m_sizes) {
        if (size->look.cellSize == cellSize) {
            size->used = m_uses;
            return *size;
        }
    }
    if (m_sizes.size() >= KeptSizes) {
        const auto oldest = std::min_element(m_sizes.begin(), m_sizes.end(),
                                             [](const auto &a, const auto &b) { return a->used < b->used; });
        m_sizes.erase(oldest);
    }
    auto size = std::make_unique<Size>();
    size->font = plateTextFont(cellSize);
    const QFontMetrics metrics(size->font);
    if (m_widestMeasured == 0) {
        QFont measured = size->font;
        measured.setPixelSize(MeasuredPixels);
        m_widestMeasured = widestCharacter(QFontMetrics(measured));
    }
    const int widest = (m_widestMeasured * size->font.pixelSize() + MeasuredPixels - 1) / MeasuredPixels + HintingMargin;
    size->look = TextLook{cellSize, metrics.capHeight(), metrics.descent(), widest};
    size->used = m_uses;
    m_sizes.push_back(std::move(size));
    return *m_sizes.back();
}

TextLook TextPictures::look(int cellSize) const
{
    const std::lock_guard lock(m_lock);
    return sizeLocked(cellSize).look;
}

const TextPictures::Glyph &TextPictures::glyphLocked(Size &size, QChar c)
{
    const auto found = size.glyphs.constFind(c.unicode());
    if (found != size.glyphs.cend())
        return *found;
    const QFontMetrics metrics(size.font);
    const QString letter(c);
    const QRect ink = metrics.boundingRect(letter).adjusted(-Margin, -Margin, Margin, Margin);
    QImage drawn(ink.size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    {
        QPainter painter(&drawn);
        painter.setFont(size.font);
        painter.setPen(Qt::black);
        painter.drawText(-ink.topLeft(), letter);
    }
    return *size.glyphs.insert(c.unicode(), Glyph{drawn.convertToFormat(QImage::Format_Alpha8), ink.topLeft(),
                                                  metrics.horizontalAdvance(letter)});
}

TextPictures::Layout TextPictures::layoutLocked(Size &size, const QString &text)
{
    // The glyphs are copied (their pictures are shared, not copied): a
    // letter drawn for the first time may move those drawn before it in
    // their table.
    Layout layout;
    layout.letters.reserve(std::size_t(text.size()));
    for (const QChar c : text) {
        const Glyph &glyph = glyphLocked(size, c);
        layout.letters.emplace_back(glyph, QPoint(layout.pen, 0) + glyph.offset);
        layout.ink |= QRect(layout.letters.back().second, glyph.coverage.size());
        layout.pen += glyph.advance;
    }
    layout.ink = layout.ink.adjusted(-1, -1, 1, 1);
    return layout;
}

std::shared_ptr<const TextPicture> TextPictures::made(const Layout &layout)
{
    auto made = std::make_shared<TextPicture>();
    made->advance = layout.pen;
    made->offset = layout.ink.topLeft();
    made->coverage = QImage(layout.ink.size(), QImage::Format_Alpha8);
    made->coverage.fill(0);
    for (const auto &[glyph, at] : layout.letters)
        layOver(made->coverage, glyph.coverage, at - layout.ink.topLeft());
    made->halo = haloOf(made->coverage);
    return made;
}

void TextPictures::keepLocked(Size &size, const QString &text, std::shared_ptr<const TextPicture> picture)
{
    if (size.bytes > BytesPerSize) {
        size.texts.clear();
        size.bytes = 0;
    }
    size.bytes += 2 * picture->coverage.sizeInBytes() + text.size() * 2 + 64;
    size.texts.insert(text, std::move(picture));
}

std::shared_ptr<const TextPicture> TextPictures::picture(const QString &text, int cellSize) const
{
    const std::lock_guard lock(m_lock);
    Size &size = sizeLocked(cellSize);
    if (const auto found = size.texts.constFind(text); found != size.texts.cend())
        return *found;
    auto picture = made(layoutLocked(size, text));
    keepLocked(size, text, picture);
    return picture;
}

void TextPictures::prepare(const std::vector<const QString *> &texts, int cellSize) const
{
    // The letters are drawn here, on one thread; the pictures are put
    // together from them on every core.
    std::vector<std::pair<const QString *, Layout>> missing;
    {
        const std::lock_guard lock(m_lock);
        Size &size = sizeLocked(cellSize);
        QSet<QString> seen;
        for (const QString *text : texts) {
            if (size.texts.contains(*text) || seen.contains(*text))
                continue;
            seen.insert(*text);
            missing.emplace_back(text, layoutLocked(size, *text));
        }
    }
    if (missing.size() < 2)
        return;
    std::vector<std::shared_ptr<const TextPicture>> pictures(missing.size());
    runTiles(int(missing.size()), tileHelpers(int(missing.size())),
             [&](int m, int) { pictures[std::size_t(m)] = made(missing[std::size_t(m)].second); });
    const std::lock_guard lock(m_lock);
    Size &size = sizeLocked(cellSize);
    for (std::size_t m = 0; m < missing.size(); ++m) {
        if (!size.texts.contains(*missing[m].first))
            keepLocked(size, *missing[m].first, std::move(pictures[m]));
    }
}

}  // namespace kalmor
