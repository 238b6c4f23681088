#include "render/ImageSet.h"

#include "catalogue/ElementKinds.h"

#include <algorithm>

namespace kalmor {

namespace {

// A few sizes per picture are enough: tiles and lamps at the current cell
// size, and the previous size while a zoom is being changed.
constexpr std::size_t CachedSizesPerPicture = 4;
// Stacks are kept up to this many bytes, then all are made anew.
constexpr qint64 CompositeBytes = qint64(64) << 20;

}  // namespace

ImageSet::ImageSet(const QString &folder)
{
    const auto load = [&](const QString &name) {
        const QImage picture(folder + name + QStringLiteral(".png"));
        if (!picture.isNull())
            add(name, picture);
    };
    for (const KindInfo &kind : allKinds())
        load(QString::fromLatin1(kind.name));
    for (const char *corner : CornerPieceNames)
        load(QString::fromLatin1(corner));
}

void ImageSet::add(const QString &name, const QImage &picture)
{
    const int index = int(m_entries.size());
    const QImage transparent = withWhiteTransparent(picture);
    m_entries.push_back(Entry{name, transparent, std::make_shared<const ScaledPicture>(transparent),
                             std::make_unique<std::mutex>(), {}});
    const std::pair<std::size_t, int> hashed{qHash(QStringView(name)), index};
    m_exact.insert(std::lower_bound(m_exact.begin(), m_exact.end(), hashed), hashed);
    m_folded.insert(name.toLower(), index);
}

int ImageSet::indexOf(QStringView name) const
{
    // Names from the catalogue and from files are nearly always written as
    // the catalogue writes them, so the exact table answers without
    // building a folded copy of the name.
    const std::size_t h = qHash(name);
    auto it = std::lower_bound(m_exact.cbegin(), m_exact.cend(), std::pair<std::size_t, int>{h, -1});
    for (; it != m_exact.cend() && it->first == h; ++it) {
        if (m_entries[std::size_t(it->second)].name == name)
            return it->second;
    }
    return m_folded.value(name.toString().toLower(), -1);
}

const QImage *ImageSet::find(QStringView name) const
{
    const int index = indexOf(name);
    return index < 0 ? nullptr : &m_entries[std::size_t(index)].picture;
}

QString ImageSet::notFoundMessage(QStringView name)
{
    return QStringLiteral("Image '%1' not found").arg(name);
}

std::shared_ptr<const ScaledPicture> ImageSet::scaledPicture(int index, QSize size) const
{
    const Entry &entry = m_entries[std::size_t(index)];
    if (size == entry.picture.size())
        return entry.designed;
    const std::lock_guard lock(*entry.cacheLock);
    for (const Scaled &s : entry.cache) {
        if (s.size == size)
            return s.picture;
    }
    if (entry.cache.size() >= CachedSizesPerPicture)
        entry.cache.erase(entry.cache.begin());
    entry.cache.push_back(Scaled{size, std::make_shared<const ScaledPicture>(stretch(entry.picture, size))});
    return entry.cache.back().picture;
}

bool ImageSet::hasScaled(int index, QSize size) const
{
    const Entry &entry = m_entries[std::size_t(index)];
    if (size == entry.picture.size())
        return true;
    const std::lock_guard lock(*entry.cacheLock);
    return std::any_of(entry.cache.begin(), entry.cache.end(), [size](const Scaled &s) { return s.size == size; });
}

std::shared_ptr<const ScaledPicture> ImageSet::composite(const QList<quint64> &madeOf, QSize size,
                                                        const std::function<QImage()> &make) const
{
    {
        const std::lock_guard lock(m_cacheLock);
        const auto it = m_composites.constFind(madeOf);
        if (it != m_composites.cend() && it->size == size)
            return it->picture;
    }
    // Made without the lock: making it asks this set for pictures.
    auto picture = std::make_shared<const ScaledPicture>(make());
    const std::lock_guard lock(m_cacheLock);
    const auto it = m_composites.constFind(madeOf);
    if (it != m_composites.cend())
        m_compositeBytes -= it->picture->image.sizeInBytes();
    const qint64 bytes = picture->image.sizeInBytes();
    if (m_compositeBytes + bytes > CompositeBytes) {
        m_composites.clear();
        m_compositeBytes = 0;
    }
    m_composites.insert(madeOf, Composite{size, picture});
    m_compositeBytes += bytes;
    return picture;
}

QImage ImageSet::stretch(const QImage &picture, QSize size)
{
    QImage result(size.expandedTo(QSize(1, 1)), picture.format());
    if (size.isEmpty() || picture.isNull()) {
        result.fill(Qt::transparent);
        return result;
    }
    const qint64 w = picture.width();
    const qint64 h = picture.height();
    const qint64 tw = size.width();
    const qint64 th = size.height();
    // The source column of every target column, worked out once.
    std::vector<qint64> column(static_cast<std::size_t>(tw));
    for (qint64 x = 0; x < tw; ++x)
        column[std::size_t(x)] = (2 * x + 1) * w / (2 * tw);
    qint64 previous = -1;
    for (qint64 y = 0; y < th; ++y) {
        const qint64 row = (2 * y + 1) * h / (2 * th);
        auto *dst = reinterpret_cast<QRgb *>(result.scanLine(int(y)));
        // Enlarged pictures repeat each row: copied whole.
        if (row == previous) {
            std::copy_n(reinterpret_cast<const QRgb *>(result.constScanLine(int(y) - 1)), tw, dst);
            continue;
        }
        previous = row;
        const auto *src = reinterpret_cast<const QRgb *>(picture.constScanLine(int(row)));
        for (qint64 x = 0; x < tw; ++x)
            dst[x] = src[column[std::size_t(x)]];
    }
    return result;
}

QImage ImageSet::withWhiteTransparent(const QImage &picture)
{
    QImage result = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < result.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QRgb p = line[x];
            const bool white = qAlpha(p) == 255 && (p & 0xFFFFFF) == 0xFFFFFF;
            line[x] = (white || qAlpha(p) == 0) ? 0 : (p | 0xFF000000);
        }
    }
    return result;
}

}  // namespace kalmor
