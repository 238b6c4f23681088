#include "render/PictureFiles.h"

#include "document/FileErrors.h"
#include "document/SafeFile.h"
#include "render/CellBlocks.h"
#include "render/PlateTexts.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <cerrno>
#include <vector>
#include <zlib.h>

namespace kalmor {

namespace {

// How many pixels one composed piece may have: 16 MB of frame.
constexpr qint64 PieceBudget = 4'000'000;

PictureResult resultOf(const SafeFile &out)
{
    if (out.errorNumber() == 0)
        return {};
    return {PictureResult::Outcome::FileError, out.error()};
}

void report(const PictureProgress &progress, qint64 done, qint64 total)
{
    if (progress)
        progress(done, total);
}

// PNG, written strip by strip through one deflate stream, so that the
// picture never has to be in memory whole.
class PngEncoder {
public:
    PngEncoder(SafeFile &out, qint64 width, qint64 height) : m_out(out), m_width(width)
    {
        // Level 3 packs a 256-megapixel panel in half the time of the
        // default level, for a file about 1.7 times as large.
        deflateInit(&m_zip, 3);
        QByteArray header;
        appendNumber(header, quint32(width));
        appendNumber(header, quint32(height));
        header.append(char(8));  // bits per channel
        header.append(char(2));  // RGB
        header.append(3, char(0));
        m_ok = m_out.write(QByteArray("\x89PNG\r\n\x1a\n", 8)) && writeChunk("IHDR", header);
        m_row.resize(std::size_t(1 + 3 * width));
    }
    ~PngEncoder() { deflateEnd(&m_zip); }
    PngEncoder(const PngEncoder &) = delete;
    PngEncoder &operator=(const PngEncoder &) = delete;

    bool addRows(const QImage &strip)
    {
        for (int y = 0; m_ok && y < strip.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(strip.constScanLine(y));
            unsigned char *out = m_row.data();
            *out++ = 0;  // no filter: it made panels larger, not smaller
            for (qint64 x = 0; x < m_width; ++x) {
                const QRgb p = line[x];
                *out++ = uchar(qRed(p));
                *out++ = uchar(qGreen(p));
                *out++ = uchar(qBlue(p));
            }
            m_ok = deflateBytes(m_row.data(), m_row.size(), Z_NO_FLUSH);
        }
        return m_ok;
    }

    bool finish()
    {
        return m_ok && deflateBytes(nullptr, 0, Z_FINISH) && writeChunk("IEND", {});
    }

private:
    static void appendNumber(QByteArray &b, quint32 n)
    {
        for (int shift = 24; shift >= 0; shift -= 8)
            b.append(char((n >> shift) & 0xFF));
    }

    bool writeChunk(const char *type, const QByteArray &data)
    {
        QByteArray chunk;
        appendNumber(chunk, quint32(data.size()));
        chunk.append(type, 4).append(data);
        const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(chunk.constData() + 4), uInt(chunk.size() - 4));
        appendNumber(chunk, quint32(crc));
        return m_out.write(chunk);
    }

    // Feeds bytes to the deflate stream; every full 64 KB of output
    // becomes an IDAT chunk, the rest follows at the finish.
    bool deflateBytes(unsigned char *data, std::size_t size, int flush)
    {
        m_zip.next_in = data;
        m_zip.avail_in = uInt(size);
        int status = Z_OK;
        do {
            m_zip.next_out = reinterpret_cast<Bytef *>(m_pending.data()) + m_used;
            m_zip.avail_out = uInt(ChunkBytes - m_used);
            status = deflate(&m_zip, flush);
            if (status == Z_STREAM_ERROR)
                return false;
            m_used = ChunkBytes - int(m_zip.avail_out);
            if (m_used == ChunkBytes && !emitPending())
                return false;
        } while (m_zip.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
        return flush != Z_FINISH || m_used == 0 || emitPending();
    }

    bool emitPending()
    {
        const bool written = writeChunk("IDAT", m_pending.left(m_used));
        m_used = 0;
        return written;
    }

    static constexpr int ChunkBytes = 1 << 16;
    SafeFile &m_out;
    qint64 m_width;
    z_stream m_zip{};
    std::vector<unsigned char> m_row;
    QByteArray m_pending{ChunkBytes, Qt::Uninitialized};
    int m_used = 0;
    bool m_ok = false;
};

bool writePng(SafeFile &out, PanelComposer &composer, const PictureProgress &progress)
{
    PngEncoder png(out, composer.width(), composer.height());
    const TileGrid strips = rowStrips(composer, PieceBudget);
    for (qint64 i = 0; i < strips.count(); ++i) {
        if (!png.addRows(composer.compose(strips.at(i))))
            return false;
        report(progress, i + 1, strips.count());
    }
    return png.finish();
}

QString colourText(QRgb rgb)
{
    return QColor::fromRgb(rgb).name(QColor::HexRgb);
}

QByteArray escapedXml(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The grid as 1-pixel bars along the top and left edge of every cell,
// drawn over everything as the window draws it: f(x, y, width, height).
template <class F>
void forEachGridBar(const PanelComposer &composer, F f)
{
    for (qint64 y = 0; y < composer.height(); y += composer.cellSize())
        f(0, y, composer.width(), 1);
    for (qint64 x = 0; x < composer.width(); x += composer.cellSize())
        f(x, 0, 1, composer.height());
}

// Composes the picture tile by tile and hands every cell that shows more
// than the fill and the grid to the sink; `tileDone` after each tile may
// stop the walk by answering false.
bool forEachBlock(PanelComposer &composer, const CellBlocks::Sink &sink, const std::function<bool()> &tileDone,
                  const PictureProgress &progress)
{
    CellBlocks blocks(composer.cellSize(), composer.fillPixel(), composer.options().grid);
    const TileGrid tiles = cellTiles(composer, PieceBudget);
    for (qint64 i = 0; i < tiles.count(); ++i) {
        const QRect tile = tiles.at(i);
        blocks.scan(composer.compose(tile), tile.topLeft(), sink);
        if (!tileDone())
            return false;
        report(progress, i + 1, tiles.count());
    }
    return true;
}

// The plate texts as text elements, which a vector program edits as
// text. Each stands on its halo, a copy of it by reference with a stroke
// in the plate's cream beneath it, which follows the text when it is
// edited (a stroke below the fill of the text itself would need a paint
// order that many readers do not know).
void appendSvgTexts(QByteArray &text, const std::vector<PictureText> &texts)
{
    if (texts.empty())
        return;
    const QByteArray halo = colourText(TextHaloColour).toLatin1();
    text.append("<g font-family=\"").append(PlateTextFamily.toUtf8()).append("\" font-size=\"")
        .append(QByteArray::number(texts.front().pixelSize)).append("\" text-anchor=\"middle\">\n<g fill=\"")
        .append(halo).append("\" stroke=\"").append(halo).append("\" stroke-width=\"2\" stroke-linejoin=\"round\">\n");
    for (std::size_t i = 0; i < texts.size(); ++i)
        text.append("<use xlink:href=\"#t").append(QByteArray::number(qulonglong(i))).append("\"/>\n");
    text.append("</g>\n<g fill=\"").append(colourText(TextColour).toLatin1()).append("\">\n");
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const PictureText &t = texts[i];
        // XML holds no control characters; a file may give a text some.
        QString shown = t.text;
        shown.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t'; });
        text.append("<text id=\"t").append(QByteArray::number(qulonglong(i))).append("\" x=\"")
            .append(QByteArray::number(t.anchor.x())).append("\" y=\"").append(QByteArray::number(t.anchor.y()))
            .append("\" xml:space=\"preserve\">").append(escapedXml(shown)).append("</text>\n");
    }
    text.append("</g>\n</g>\n");
}

bool writeSvg(SafeFile &out, PanelComposer &composer, const QString &title, const PictureProgress &progress)
{
    composer.leaveTextsToVectors();
    const QByteArray w = QByteArray::number(composer.width());
    const QByteArray h = QByteArray::number(composer.height());
    const QByteArray cell = QByteArray::number(composer.cellSize());
    QByteArray text;
    text.append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\""
                " version=\"1.1\" width=\"")
        .append(w).append("\" height=\"").append(h).append("\" viewBox=\"0 0 ").append(w).append(' ').append(h)
        .append("\" shape-rendering=\"crispEdges\" image-rendering=\"optimizeSpeed\">\n<title>")
        .append(escapedXml(title))
        .append("</title>\n<rect width=\"").append(w).append("\" height=\"").append(h).append("\" fill=\"")
        .append(colourText(composer.fillPixel()).toLatin1()).append("\"/>\n");

    const auto place = [&](const CellBlocks::Block &block, const QImage &pixels) {
        const QByteArray id = "b" + QByteArray::number(block.id);
        if (block.isNew) {
            text.append("<defs><image id=\"").append(id).append("\" width=\"").append(cell).append("\" height=\"")
                .append(cell).append("\" xlink:href=\"data:image/png;base64,").append(pngBytes(pixels).toBase64())
                .append("\"/></defs>\n");
        }
        text.append("<use xlink:href=\"#").append(id).append("\" x=\"").append(QByteArray::number(block.position.x()))
            .append("\" y=\"").append(QByteArray::number(block.position.y())).append("\"/>\n");
    };
    const auto flush = [&] {
        const bool written = out.write(text);
        text.clear();
        return written;
    };
    if (!forEachBlock(composer, place, flush, progress))
        return false;
    if (composer.options().grid) {
        // All bars turn the same way, so where they cross the winding adds
        // up instead of cutting a hole.
        text.append("<path fill=\"#0000ff\" d=\"");
        forEachGridBar(composer, [&text](qint64 x, qint64 y, qint64 w, qint64 h) {
            text.append('M').append(QByteArray::number(x)).append(' ').append(QByteArray::number(y)).append('h')
                .append(QByteArray::number(w)).append('v').append(QByteArray::number(h)).append("h-")
                .append(QByteArray::number(w)).append('z');
        });
        text.append("\"/>\n");
    }
    appendSvgTexts(text, composer.texts());
    text.append("</svg>\n");
    return out.write(text);
}

// PDF pages beyond 200 inches are refused by common readers.
constexpr double MaxPdfPagePoints = 14400;
constexpr qint64 KeptBlockBudget = 256 << 20;

// The texts as text, which a reader can select and search, each on its
// halo as the window draws it.
void drawPdfTexts(QPainter &painter, QPaintDevice &pdf, const std::vector<PictureText> &texts, int cellSize)
{
    if (texts.empty())
        return;
    const QFont font = plateTextFont(cellSize);
    painter.setFont(font);
    const QFontMetrics metrics(font, &pdf);
    const QPen halo(QColor::fromRgb(TextHaloColour), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    for (const PictureText &t : texts) {
        const QPoint pen(t.anchor.x() - metrics.horizontalAdvance(t.text) / 2, t.anchor.y());
        QPainterPath outline;
        outline.addText(pen, font, t.text);
        painter.strokePath(outline, halo);
        painter.setPen(QColor::fromRgb(TextColour));
        painter.drawText(pen, t.text);
    }
}

bool writePdf(SafeFile &out, PanelComposer &composer, const QString &title, const PictureProgress &progress)
{
    // One picture pixel is a pixel of a 96 dpi screen; a larger panel is
    // scaled down to the largest page readers accept.
    const double pointsPerPixel = 0.75;
    const double longest = double(std::max(composer.width(), composer.height())) * pointsPerPixel;
    const double scale = std::min(1.0, MaxPdfPagePoints / longest);
    QPdfWriter pdf(&out.device());
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("Kalmor"));
    pdf.setResolution(96);
    pdf.setPageSize(QPageSize(QSizeF(double(composer.width()) * pointsPerPixel * scale,
                                     double(composer.height()) * pointsPerPixel * scale),
                              QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&pdf);
    painter.scale(scale, scale);
    composer.leaveTextsToVectors();
    painter.fillRect(QRectF(0, 0, double(composer.width()), double(composer.height())), QColor::fromRgb(composer.fillPixel()));

    // The PDF engine writes an image once per image object and refers to
    // it afterwards, so distinct blocks are kept and drawn again; past the
    // budget, further looks are written wherever they occur, which costs
    // file size instead of memory.
    QHash<int, QImage> kept;
    qint64 keptBytes = 0;
    const auto place = [&](const CellBlocks::Block &block, const QImage &pixels) {
        if (block.isNew && keptBytes < KeptBlockBudget) {
            kept.insert(block.id, pixels.copy());
            keptBytes += pixels.sizeInBytes();
        }
        const auto found = kept.constFind(block.id);
        painter.drawImage(block.position, found != kept.cend() ? *found : pixels);
    };
    forEachBlock(composer, place, [] { return true; }, progress);
    if (composer.options().grid) {
        forEachGridBar(composer, [&painter](qint64 x, qint64 y, qint64 w, qint64 h) {
            painter.fillRect(QRectF(double(x), double(y), double(w), double(h)), QColor(0, 0, 255));
        });
    }
    drawPdfTexts(painter, pdf, composer.texts(), composer.cellSize());
    return painter.end();
}

}  // namespace

std::optional<PictureFormat> pictureFormatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"png")
        return PictureFormat::Png;
    if (suffix == u"pdf")
        return PictureFormat::Pdf;
    if (suffix == u"svg")
        return PictureFormat::Svg;
    return std::nullopt;
}

PictureResult writePicture(const QString &path, PictureFormat format, PanelComposer &composer, const QString &title,
                           const PictureProgress &progress)
{
    if (format == PictureFormat::Png && composer.pixelCount() > MaxPngPixels)
        return {PictureResult::Outcome::TooLarge, {}};
    SafeFile out(path);
    if (!out.open())
        return resultOf(out);
    bool written = false;
    switch (format) {
    case PictureFormat::Png:
        written = writePng(out, composer, progress);
        break;
    case PictureFormat::Svg:
        written = writeSvg(out, composer, title, progress);
        break;
    case PictureFormat::Pdf:
        written = writePdf(out, composer, title, progress);
        break;
    }
    if (written)
        out.commit();
    else if (resultOf(out).ok())
        return {PictureResult::Outcome::FileError, fileErrorMessage(EIO)};
    return resultOf(out);
}

}  // namespace kalmor
