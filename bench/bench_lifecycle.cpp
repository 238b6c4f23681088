// The whole save command for a large station: 1,000,000 track tiles,
// 100,000 lamps and 100,000 label plates, through the lifecycle commands,
// with a host that steps a progress count and processes events about once
// per 16 ms as the main window does. A 16 ms timer composes a 1920 x 1080
// view of the panel meanwhile, as the render timer does, to show that the
// window keeps being drawn during the save.
#include "document/DocumentLifecycle.h"
#include "render/index/ElementIndex.h"
#include "render/FrameComposer.h"
#include "render/ImageSet.h"

#include <QGuiApplication>
#include <QImage>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace kalmor;

namespace {

class BenchPrompts : public UserPrompts {
public:
    explicit BenchPrompts(QString path) : m_path(std::move(path)) {}
    bool ask(const QString &) override { return true; }
    void inform(const QString &message) override { std::printf("message: %s\n", qPrintable(message)); }
    void warn(const QString &message) override { inform(message); }
    std::optional<QString> chooseOpenPath() override { return std::nullopt; }
    std::optional<QString> chooseSavePath() override { return m_path; }
    std::optional<Colour> chooseColour(Colour) override { return std::nullopt; }

private:
    QString m_path;
};

class PacedHost : public LifecycleHost {
public:
    qsizetype position = 0;
    qsizetype maximum = 0;
    int frames = 0;

    void hideAllPanels() override {}
    void showAllPanels() override {}
    void setMenuSectionEnabled(MenuSection, bool) override {}
    void showProgress(const QString &, qsizetype max) override
    {
        maximum = max;
        position = 0;
    }
    void stepProgress() override
    {
        ++position;
        if (!m_sinceEvents.isValid() || m_sinceEvents.elapsed() >= 16) {
            ++frames;
            QCoreApplication::processEvents();
            m_sinceEvents.start();
        }
    }
    void hideProgress() override {}
    void setEditingLocked(bool) override {}

private:
    QElapsedTimer m_sinceEvents;
};

}  // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("velka.stvx"));

    StationDocument doc;
    const char *tileKinds[] = {"KOL_sLSPS", "VYH_sLSPS_sLDPS", "KOL_sLHPD", "KRI_sLSPS_sSDSH"};
    doc.tiles().reserve(1000000);
    for (qint32 i = 0; i < 1000000; ++i) {
        TPolePanelu t;
        t.X = i % 1000;
        t.Y = i / 1000;
        t.Cont_LS = t.Cont_PS = true;
        t.Cont_LD = (i % 3) == 0;
        t.NAME = QString::fromLatin1(tileKinds[i % 4]);
        doc.tiles().append(std::move(t));
    }
    doc.lamps().reserve(100000);
    doc.plates().reserve(100000);
    for (qint32 i = 0; i < 100000; ++i) {
        TPoleZarovka z;
        z.X = i % 1000;
        z.Y = 1000 + i / 1000;
        z.ODSAZENI_X = i % 48;
        z.NAME = QStringLiteral("ZAR_BI_ZH");
        doc.lamps().append(std::move(z));
        TPoleStitek s;
        s.X = i % 1000;
        s.Y = 1100 + i / 1000;
        s.NAME = QStringLiteral("STI_Cely_Uprostred");
        doc.plates().append(std::move(s));
    }
    doc.markModified();

    // Frames composed while the save hands control back.
    const ImageSet images;
    RenderState state;
    state.appliedColumns = state.appliedRows = 1200;
    state.surfaceSize = QSize(1200 * 47, 1200 * 47);
    CanvasState canvas;
    ElementIndex index;
    QImage view;
    int composed = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        composeFrame(view, QRect(400 * 47, 400 * 47, 1920, 1080), doc.data(), state, EditingView(), images,
                     canvas, index);
        ++composed;
    });
    tick.start(16);

    BenchPrompts prompts(path);
    PacedHost host;
    DocumentLifecycle life(doc, prompts, host);
    QElapsedTimer clock;
    clock.start();
    const bool ok = life.saveStation();
    const qint64 ms = clock.elapsed();

    std::printf("bench_lifecycle: save of 1,200,000 elements %s\n", ok ? "succeeded" : "FAILED");
    std::printf("  total time          %lld ms (target < 3000 ms)\n", static_cast<long long>(ms));
    std::printf("  progress steps      %lld of maximum %lld\n", static_cast<long long>(host.position),
                static_cast<long long>(host.maximum));
    std::printf("  event runs          %d; 1920 x 1080 frames composed during the save: %d\n", host.frames,
                composed);
    std::printf("  file size           %lld bytes\n", static_cast<long long>(QFileInfo(path).size()));
    return ok ? 0 : 1;
}
