#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringView>

#include "render/PictureDrawing.h"
#include "render/PlateTexts.h"

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace kalmor {

// The image set X_ImageContainer: the 88 element pictures (84 kinds and the
// four corner pieces), loaded once, white made transparent, found by name
// without regard to letter case. Keeps each picture scaled to the sizes
// the renderer asks for, so a frame never scales a picture. The tiles of
// a frame may ask from several threads at once.
class ImageSet {
public:
    // Loads "<folder><name>.png" for every kind and corner piece; names
    // whose picture cannot be read are simply not in the set.
    explicit ImageSet(const QString &folder = QStringLiteral(":/elements/"));

    ImageSet(const ImageSet &) = delete;
    ImageSet &operator=(const ImageSet &) = delete;

    int count() const { return int(m_entries.size()); }

    // Position of the picture of that name (any letter case), or -1.
    int indexOf(QStringView name) const;

    // The picture (ARGB32 premultiplied, white as alpha 0), or nullptr.
    const QImage *find(QStringView name) const;

    // "Image '<name>' not found": the text of a failed find.
    static QString notFoundMessage(QStringView name);

    QString name(int index) const { return m_entries[std::size_t(index)].name; }
    const QImage &picture(int index) const { return m_entries[std::size_t(index)].picture; }
    // The size the picture was designed at: 47 x 47, or 16 x 15 for lamps.
    QSize designSize(int index) const { return m_entries[std::size_t(index)].picture.size(); }

    // The picture stretched to the size, each axis on its own, taking for
    // every target pixel the source pixel under its centre, with its runs
    // of opaque pixels. Cached for a few sizes per picture.
    std::shared_ptr<const ScaledPicture> scaledPicture(int index, QSize size) const;
    // Whether scaledPicture() has that size at hand.
    bool hasScaled(int index, QSize size) const;
    // Its image; the reference stays valid until the next call of scaled()
    // or scaledPicture(), so only for callers on one thread.
    const QImage &scaled(int index, QSize size) const { return scaledPicture(index, size)->image; }

    // A picture made of several (the records stacked on one cell), made by
    // `make` the first time and kept, by what it is made of, for a while.
    std::shared_ptr<const ScaledPicture> composite(const QList<quint64> &madeOf, QSize size,
                                                   const std::function<QImage()> &make) const;

    // Stretches a picture the same way; shared with tests.
    static QImage stretch(const QImage &picture, QSize size);

    // The plate texts drawn so far, per cell size.
    const TextPictures &texts() const { return *m_texts; }

    // White (255, 255, 255) becomes fully transparent, everything else
    // opaque; the result is ARGB32 premultiplied.
    static QImage withWhiteTransparent(const QImage &picture);

private:
    struct Scaled {
        QSize size;
        std::shared_ptr<const ScaledPicture> picture;
    };
    struct Entry {
        QString name;
        QImage picture;
        std::shared_ptr<const ScaledPicture> designed;
        // One lock a picture: the first frame after a zoom scales
        // different pictures on several threads at once.
        std::unique_ptr<std::mutex> cacheLock;
        mutable std::vector<Scaled> cache;
    };

    void add(const QString &name, const QImage &picture);

    std::vector<Entry> m_entries;
    struct Composite {
        QSize size;
        std::shared_ptr<const ScaledPicture> picture;
    };
    mutable std::mutex m_cacheLock;  // over the composites
    mutable QHash<QList<quint64>, Composite> m_composites;
    mutable qint64 m_compositeBytes = 0;
    // Hashes of the names as the catalogue writes them, sorted, so that a
    // lookup needs no copy of the name.
    std::vector<std::pair<std::size_t, int>> m_exact;
    QHash<QString, int> m_folded;  // lower case
    std::unique_ptr<TextPictures> m_texts = std::make_unique<TextPictures>();
};

}  // namespace kalmor
