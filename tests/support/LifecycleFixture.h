#pragma once

// What the lifecycle suites share: a host that records what a save does to
// the window, a document with its lifecycle, records and file bytes.
#include "document/DocumentLifecycle.h"
#include "document/LineInterpreter.h"
#include "document/StationFile.h"
#include "support/ReadBothWays.h"
#include "support/ScriptedPrompts.h"
#include "support/StationBytes.h"
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

namespace kalmor::lifecycletest {


// Records what the save does to the window, in order. Steps are counted
// and folded into one entry, and each remembers whether editing was locked.
class RecordingHost : public LifecycleHost {
public:
    QStringList log;
    int steps = 0;
    int unlockedSteps = 0;
    bool locked = false;
    std::function<void()> onStep;

    void hideAllPanels() override { log << QStringLiteral("hide panels"); }
    std::function<void()> onShowPanels;

    void showAllPanels() override
    {
        log << QStringLiteral("show panels");
        if (onShowPanels)
            onShowPanels();
    }
    void setMenuSectionEnabled(MenuSection s, bool enabled) override
    {
        log << QStringLiteral("%1 %2").arg(int(s)).arg(enabled ? "on" : "off");
    }
    void showProgress(const QString &caption, qsizetype maximum) override
    {
        log << QStringLiteral("progress %1 %2").arg(caption).arg(maximum);
    }
    void stepProgress() override
    {
        if (steps++ == 0)
            log << QStringLiteral("steps");
        if (!locked)
            ++unlockedSteps;
        if (onStep)
            onStep();
    }
    void hideProgress() override { log << QStringLiteral("hide progress"); }
    void setEditingLocked(bool l) override
    {
        locked = l;
        log << (l ? QStringLiteral("lock") : QStringLiteral("unlock"));
    }
};

inline QStringList sections(bool enabled)
{
    QStringList l;
    for (int i = 0; i < 5; ++i)
        l << QStringLiteral("%1 %2").arg(i).arg(enabled ? "on" : "off");
    return l;
}

inline TPolePanelu tile(qint32 x, qint32 y, const char *name = "KOL_sLSPS")
{
    TPolePanelu t;
    t.X = x;
    t.Y = y;
    t.Cont_LS = t.Cont_PS = true;
    t.NAME = QString::fromLatin1(name);
    return t;
}

inline TPoleZarovka lamp(qint32 x, qint32 y)
{
    TPoleZarovka z;
    z.X = x;
    z.Y = y;
    z.ODSAZENI_X = 3;
    z.NAME = QStringLiteral("ZAR_BI_ZH");
    return z;
}

inline TPoleStitek plate(qint32 x, qint32 y)
{
    TPoleStitek s;
    s.X = x;
    s.Y = y;
    s.NAME = QStringLiteral("STI_Cely_Uprostred");
    return s;
}

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}


struct Fixture {
    StationDocument doc;
    ScriptedPrompts prompts;
    RecordingHost host;
    DocumentLifecycle life{doc, prompts, host};
    // The lifecycle's clock: it stands still unless a test moves it, so a
    // load is held or shows its progress only when the test says so.
    std::atomic<qint64> now{0};
    int clockReads = 0;

    Fixture()
    {
        life.setClock([this] {
            ++clockReads;
            return now.load();
        });
    }

    void fill()
    {
        doc.tiles().append(tile(1, 2));
        doc.tiles().append(tile(3, 4, "VYH_sLSPS_sLDPS"));
        doc.lamps().append(lamp(5, 6));
        doc.plates().append(plate(7, 8));
        doc.setStationName(QStringLiteral("Nádraží"));
        doc.markModified();
    }
};

// Saves with files limited to `limit` bytes: root may write anywhere, so
// a size limit is the failure every user meets alike.
inline bool saveWithSizeLimit(Fixture &f, rlim_t limit)
{
    rlimit saved{};
    if (getrlimit(RLIMIT_FSIZE, &saved) != 0)
        return true;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = limit;
    if (setrlimit(RLIMIT_FSIZE, &small) != 0) {
        std::signal(SIGXFSZ, oldHandler);
        return true;
    }
    const bool ok = f.life.saveStation();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    return ok;
}

}  // namespace kalmor::lifecycletest
