#include "shell/ExportCommand.h"

#include "document/DocumentLifecycle.h"
#include "document/StationDocument.h"
#include "document/UserPrompts.h"
#include "render/PanelPrint.h"
#include "render/PictureFiles.h"

#include <QFileInfo>
#include <QLocale>

namespace kalmor {

ExportCommand::ExportCommand(const StationDocument &doc, const ImageSet &images, UserPrompts &prompts,
                             LifecycleHost &host, std::function<PictureOptions()> picture, QObject *parent)
    : QObject(parent), m_doc(doc), m_images(images), m_prompts(prompts), m_host(host), m_picture(std::move(picture))
{
}

bool ExportCommand::run()
{
    if (m_running)
        return false;
    QStringList areas;
    for (const TOblast &a : m_doc.areas())
        areas << a.NAME;
    const std::optional<UserPrompts::ExportChoice> choice = m_prompts.chooseExport(areas);
    return choice && exportTo(choice->path, choice->area, choice->fieldMm);
}

void ExportCommand::setBusy(bool busy)
{
    m_running = busy;
    for (const MenuSection s : MenuSectionOrder)
        m_host.setMenuSectionEnabled(s, !busy);
    m_host.setEditingLocked(busy);
}

bool ExportCommand::exportTo(const QString &path, qsizetype area, double fieldMm)
{
    if (m_running)
        return false;
    const std::optional<PictureFormat> format = pictureFormatOf(path);
    if (!format) {
        m_prompts.warn(QStringLiteral("Obrázek lze uložit jen jako PNG, PDF nebo SVG: zvolte soubor s příponou "
                                        ".png, .pdf nebo .svg."));
        return false;
    }
    PictureOptions picture = m_picture();
    PrintOptions paper;
    paper.fieldMm = *format == PictureFormat::Pdf ? fieldMm : 0;
    if (area >= 0 && area < m_doc.areas().count()) {
        const TOblast &chosen = m_doc.areas().at(area);
        const std::optional<PictureOptions> part = areaPicture(picture, chosen);
        if (!part) {
            m_prompts.warn(QStringLiteral("Oblast „%1“ leží mimo panel.").arg(chosen.NAME));
            return false;
        }
        picture = *part;
        paper.areaName = chosen.NAME;
    }
    if (paper.fieldMm > 0)
        return exportOnPages(path, picture, paper);
    PanelComposer composer(m_doc.data(), m_images, picture);
    if (*format == PictureFormat::Png && composer.pixelCount() > MaxPngPixels) {
        const QLocale czech(QLocale::Czech);
        m_prompts.warn(QStringLiteral("Obrázek by měl %1 × %2 bodů, to je pro PNG příliš mnoho (nejvýše %3 "
                                        "milionů bodů). Zmenšete zvětšení panelu, nebo panel exportujte do PDF "
                                        "či SVG.")
                             .arg(czech.toString(composer.width()), czech.toString(composer.height()))
                             .arg(MaxPngPixels / 1'000'000));
        return false;
    }

    const QString fullPath = QFileInfo(path).absoluteFilePath();
    const QString caption = QStringLiteral("Exportování obrázku: ") + fullPath;
    setBusy(true);
    m_host.showProgress(caption, 0);
    const auto progress = [this, &caption](qint64 done, qint64 total) {
        if (done == 1)
            m_host.showProgress(caption, total);
        m_host.stepProgress();
    };
    const PictureResult result = writePicture(fullPath, *format, composer, m_doc.stationName(), progress);
    m_host.hideProgress();
    setBusy(false);
    if (!result.ok())
        m_prompts.warn(result.fileError);
    return result.ok();
}

}  // namespace kalmor

namespace kalmor {

bool ExportCommand::exportOnPages(const QString &path, const PictureOptions &picture, const PrintOptions &paper)
{
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    setBusy(true);
    m_host.showProgress(QStringLiteral("Exportování obrázku: ") + fullPath, 0);
    const QString error = writeRealSizePdf(fullPath, m_doc.data(), m_images, picture, paper);
    m_host.hideProgress();
    setBusy(false);
    if (!error.isEmpty())
        m_prompts.warn(error);
    return error.isEmpty();
}

}  // namespace kalmor
