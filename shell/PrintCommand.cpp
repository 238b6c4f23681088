#include "shell/PrintCommand.h"

#include "document/StationDocument.h"
#include "shell/FieldSizeBox.h"

#include <QComboBox>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSpinBox>
#include <QToolBar>

namespace kalmor {

namespace {

constexpr int FitIndex = 0;
constexpr int ScaleIndex = 1;
constexpr int RealSizeIndex = 2;

}  // namespace

PrintCommand::PrintCommand(const StationDocument &doc, const ImageSet &images, std::function<PictureOptions()> picture,
                           QWidget *parent)
    : QObject(parent), m_doc(doc), m_images(images), m_picture(std::move(picture)), m_parent(parent)
{
}

void PrintCommand::run()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_doc.stationName().isEmpty() ? QStringLiteral("Kalmor") : m_doc.stationName());
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog dialog(&printer, m_parent);
    dialog.setObjectName(QStringLiteral("TiskNahled"));
    dialog.setWindowTitle(QStringLiteral("Tisk"));
    addControls(dialog);
    if (m_parent)
        dialog.resize(m_parent->size() * 0.85);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, &PrintCommand::paint);
    m_preview = &dialog;
    dialog.exec();
    m_preview = nullptr;
}

void PrintCommand::addControls(QPrintPreviewDialog &dialog)
{
    auto *toolBar = dialog.findChild<QToolBar *>();
    auto *previewWidget = dialog.findChild<QPrintPreviewWidget *>();
    if (!toolBar || !previewWidget)
        return;
    auto *label = new QLabel(QStringLiteral(" Panel: "), toolBar);
    auto *mode = new QComboBox(toolBar);
    mode->setObjectName(QStringLiteral("CB_Rozvrzeni"));
    mode->addItems({QStringLiteral("na jednu stránku"), QStringLiteral("v měřítku"),
                    QStringLiteral("ve skutečné velikosti")});
    mode->setCurrentIndex(m_options.fieldMm > 0 ? RealSizeIndex : m_options.fitToPage ? FitIndex : ScaleIndex);
    auto *scale = new QSpinBox(toolBar);
    scale->setObjectName(QStringLiteral("SE_Meritko"));
    scale->setRange(5, 400);
    scale->setSingleStep(5);
    scale->setSuffix(QStringLiteral(" %"));
    scale->setValue(m_options.scalePercent);
    scale->setKeyboardTracking(false);
    scale->setEnabled(mode->currentIndex() == ScaleIndex);
    auto *field = new FieldSizeBox({}, toolBar);
    field->setMillimetres(m_fieldMm);
    field->setEnabled(mode->currentIndex() == RealSizeIndex);
    auto *area = new QComboBox(toolBar);
    area->setObjectName(QStringLiteral("CB_Oblast"));
    area->addItem(QStringLiteral("celý panel"));
    for (const TOblast &a : m_doc.areas())
        area->addItem(a.NAME);
    area->setCurrentIndex(0);
    m_area = -1;
    // In front, where a narrow dialog does not fold them away.
    QAction *first = toolBar->actions().value(0);
    for (QWidget *w : {static_cast<QWidget *>(label), static_cast<QWidget *>(mode), static_cast<QWidget *>(scale),
                       static_cast<QWidget *>(field), static_cast<QWidget *>(area)})
        toolBar->insertWidget(first, w);
    toolBar->insertSeparator(first);
    connect(mode, &QComboBox::currentIndexChanged, previewWidget, [this, scale, field, previewWidget](int index) {
        m_options.fitToPage = index == FitIndex;
        m_options.fieldMm = index == RealSizeIndex ? m_fieldMm : 0;
        scale->setEnabled(index == ScaleIndex);
        field->setEnabled(index == RealSizeIndex);
        previewWidget->updatePreview();
    });
    connect(field, &FieldSizeBox::millimetresChanged, previewWidget, [this, field, previewWidget](double mm) {
        if (mm <= 0)
            return;
        m_fieldMm = mm;
        if (field->isEnabled())
            m_options.fieldMm = mm;
        previewWidget->updatePreview();
    });
    connect(area, &QComboBox::currentIndexChanged, previewWidget, [this, previewWidget](int index) {
        m_area = index - 1;
        previewWidget->updatePreview();
    });
    connect(scale, &QSpinBox::valueChanged, previewWidget, [this, previewWidget](int value) {
        m_options.scalePercent = value;
        previewWidget->updatePreview();
    });
}

void PrintCommand::paint(QPrinter *printer)
{
    PictureOptions picture = m_picture();
    PrintOptions options = m_options;
    options.areaName.clear();
    if (m_area >= 0 && m_area < m_doc.areas().count()) {
        const TOblast &area = m_doc.areas().at(m_area);
        if (const auto part = areaPicture(picture, area)) {
            picture = *part;
            options.areaName = area.NAME;
        }
    }
    printPanel(*printer, m_doc.data(), m_images, picture, options);
}

}  // namespace kalmor
