#include "editing/ElementPictures.h"

#include "render/ImageSet.h"

#include <QImage>

namespace kalmor {

QPixmap elementPixmap(const QString &name)
{
    const QImage image(QStringLiteral(":/elements/%1.png").arg(name));
    if (image.isNull())
        return {};
    return QPixmap::fromImage(ImageSet::withWhiteTransparent(image));
}

}  // namespace kalmor
