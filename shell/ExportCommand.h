#pragma once

#include "render/PanelPicture.h"
#include "render/PanelPrint.h"

#include <QObject>

#include <functional>

namespace kalmor {

class ImageSet;
class LifecycleHost;
class StationDocument;
class UserPrompts;

// "Exportovat obrázek ...": asks for a PNG, PDF or SVG file and writes the
// applied panel into it as the work area shows it, without the cursor
// frame, the preview, the area frames and the diagnostic lines; or only
// one area of it ("Jen oblast"); a PDF also in real size, on A4 pages to
// be cut and joined ("Velikost pole"). While it writes, the save
// progress strip shows how far it is and the window keeps being drawn;
// the menus and the pointer stay off the document meanwhile.
class ExportCommand : public QObject {
    Q_OBJECT
public:
    ExportCommand(const StationDocument &doc, const ImageSet &images, UserPrompts &prompts, LifecycleHost &host,
                  std::function<PictureOptions()> picture, QObject *parent = nullptr);

    // MP_ExportClick; false when cancelled, refused or failed.
    bool run();
    // area: its position in the station's areas, -1 for the whole panel;
    // fieldMm: a cell's size on paper for a PDF, 0 for as on screen.
    bool exportTo(const QString &path, qsizetype area = -1, double fieldMm = 0);

    bool isRunning() const { return m_running; }

private:
    void setBusy(bool busy);
    bool exportOnPages(const QString &path, const PictureOptions &picture, const PrintOptions &paper);

    const StationDocument &m_doc;
    const ImageSet &m_images;
    UserPrompts &m_prompts;
    LifecycleHost &m_host;
    std::function<PictureOptions()> m_picture;
    bool m_running = false;
};

}  // namespace kalmor
