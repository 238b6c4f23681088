#pragma once

#include "render/PanelPicture.h"

#include <QString>

#include <optional>

namespace kalmor {

enum class PictureFormat { Png, Pdf, Svg };

// The format a file name asks for by its extension, in any letter case.
std::optional<PictureFormat> pictureFormatOf(const QString &path);

struct PictureResult {
    enum class Outcome { Written, TooLarge, FileError };
    Outcome outcome = Outcome::Written;
    QString fileError;  // the platform's message when the file failed
    bool ok() const { return outcome == Outcome::Written; }
};

// Writes the picture to `path`. The file is written beside an existing
// one and replaces it only when complete, so a failed export leaves what
// was there. A PNG of more than MaxPngPixels is refused before anything is
// composed. `title` names the document in PDF and SVG files.
PictureResult writePicture(const QString &path, PictureFormat format, PanelComposer &composer,
                           const QString &title = {}, const PictureProgress &progress = {});

}  // namespace kalmor
