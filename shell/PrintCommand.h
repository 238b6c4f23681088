#pragma once

#include "render/PanelPicture.h"
#include "render/PanelPrint.h"

#include <QObject>

#include <functional>

class QComboBox;
class QPrintPreviewDialog;
class QPrinter;
class QSpinBox;
class QWidget;

namespace kalmor {

class ImageSet;
class StationDocument;

// "Tisk ...": Qt's print preview of the applied panel as the work area
// shows it (without the view overlays), or of one area, scaled to fit
// one page, at a chosen scale over several pages, or in real size (a
// cell's millimetres, cut marks and each page's place), a header on
// every page. The choices sit in the preview's tool bar; fit, scale and
// size are kept for the next print.
class PrintCommand : public QObject {
    Q_OBJECT
public:
    PrintCommand(const StationDocument &doc, const ImageSet &images, std::function<PictureOptions()> picture,
                 QWidget *parent);

    // MP_TiskClick: shows the preview modally.
    void run();

    // The preview while it is shown, for tests; nullptr otherwise.
    QPrintPreviewDialog *preview() const { return m_preview; }
    const PrintOptions &options() const { return m_options; }

private:
    void addControls(QPrintPreviewDialog &dialog);
    void paint(QPrinter *printer);

    const StationDocument &m_doc;
    const ImageSet &m_images;
    std::function<PictureOptions()> m_picture;
    QWidget *m_parent;
    PrintOptions m_options;
    double m_fieldMm = 40;  // kept while another mode is chosen
    qsizetype m_area = -1;  // the area printed, -1 the whole panel
    QPrintPreviewDialog *m_preview = nullptr;
};

}  // namespace kalmor
