#pragma once

#include "render/PanelPicture.h"

#include <QObject>

#include <functional>

namespace kalmor {

class ImageSet;
class LifecycleHost;
class StationDocument;
class UserPrompts;

// "Exportovat obrázek ...": asks for a PNG, PDF or SVG file and writes the
// applied panel into it as the work area shows it, without the cursor
// frame, the preview and the diagnostic lines. While it writes, the save
// progress strip shows how far it is and the window keeps being drawn;
// the menus and the pointer stay off the document meanwhile.
class ExportCommand : public QObject {
    Q_OBJECT
public:
    ExportCommand(const StationDocument &doc, const ImageSet &images, UserPrompts &prompts, LifecycleHost &host,
                  std::function<PictureOptions()> picture, QObject *parent = nullptr);

    // MP_ExportClick; false when cancelled, refused or failed.
    bool run();
    bool exportTo(const QString &path);

    bool isRunning() const { return m_running; }

private:
    void setBusy(bool busy);

    const StationDocument &m_doc;
    const ImageSet &m_images;
    UserPrompts &m_prompts;
    LifecycleHost &m_host;
    std::function<PictureOptions()> m_picture;
    bool m_running = false;
};

}  // namespace kalmor
