#pragma once

#include <QImage>
#include <QString>

#include <map>

namespace kalmor {

class ImageSet;
struct StationData;

// The pictures of the user guide, drawn from a station (the example) by
// the program's own frame composition, by the names the guide's sections
// use in <img src="obrazek:NAME">.
std::map<QString, QImage> guidePictures(const StationData &station, const ImageSet &images);

}  // namespace kalmor
