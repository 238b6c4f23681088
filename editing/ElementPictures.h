#pragma once

#include <QPixmap>
#include <QString>

namespace kalmor {

// The picture of a kind as the assortment shows it: the resource
// ":/elements/<name>.png" with white made transparent. Null when the
// resource is missing.
QPixmap elementPixmap(const QString &name);

}  // namespace kalmor
