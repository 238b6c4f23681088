#include "shell/PrintCommand.h"

#include "document/StationDocument.h"

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
    mode->addItems({QStringLiteral("na jednu stránku"), QStringLiteral("v měřítku")});
    mode->setCurrentIndex(m_options.fitToPage ? FitIndex : ScaleIndex);
    auto *scale = new QSpinBox(toolBar);
    scale->setObjectName(QStringLiteral("SE_Meritko"));
    scale->setRange(5, 400);
    scale->setSingleStep(5);
    scale->setSuffix(QStringLiteral(" %"));
    scale->setValue(m_options.scalePercent);
    scale->setKeyboardTracking(false);
    scale->setEnabled(!m_options.fitToPage);
    // In front, where a narrow dialog does not fold them away.
    QAction *first = toolBar->actions().value(0);
    toolBar->insertWidget(first, label);
    toolBar->insertWidget(first, mode);
    toolBar->insertWidget(first, scale);
    toolBar->insertSeparator(first);
    connect(mode, &QComboBox::currentIndexChanged, previewWidget, [this, scale, previewWidget](int index) {
        m_options.fitToPage = index == FitIndex;
        scale->setEnabled(!m_options.fitToPage);
        previewWidget->updatePreview();
    });
    connect(scale, &QSpinBox::valueChanged, previewWidget, [this, previewWidget](int value) {
        m_options.scalePercent = value;
        previewWidget->updatePreview();
    });
}

void PrintCommand::paint(QPrinter *printer)
{
    printPanel(*printer, m_doc.data(), m_images, m_picture(), m_options);
}

}  // namespace kalmor
