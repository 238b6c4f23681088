#include "document/DocumentLifecycle.h"
#include "document/StationFile.h"
#include "support/ScriptedPrompts.h"
#include "support/StationBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>

using namespace kalmor;

namespace {

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

QStringList sections(bool enabled)
{
    QStringList l;
    for (int i = 0; i < 5; ++i)
        l << QStringLiteral("%1 %2").arg(i).arg(enabled ? "on" : "off");
    return l;
}

TPolePanelu tile(qint32 x, qint32 y, const char *name = "KOL_sLSPS")
{
    TPolePanelu t;
    t.X = x;
    t.Y = y;
    t.Cont_LS = t.Cont_PS = true;
    t.NAME = QString::fromLatin1(name);
    return t;
}

TPoleZarovka lamp(qint32 x, qint32 y)
{
    TPoleZarovka z;
    z.X = x;
    z.Y = y;
    z.ODSAZENI_X = 3;
    z.NAME = QStringLiteral("ZAR_BI_ZH");
    return z;
}

TPoleStitek plate(qint32 x, qint32 y)
{
    TPoleStitek s;
    s.X = x;
    s.Y = y;
    s.NAME = QStringLiteral("STI_Cely_Uprostred");
    return s;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
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
bool saveWithSizeLimit(Fixture &f, rlim_t limit)
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

}  // namespace

class TestLifecycle : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void captionAndPathPanel()
    {
        StationDocument doc;
        QCOMPARE(windowCaption(doc), QStringLiteral("Kalmor v0.5 - Nová stanice"));
        QCOMPARE(pathPanelText(doc), QStringLiteral("(žádný soubor)"));
        doc.setCurrentPath(QStringLiteral("/data/stanice/nadrazi.stvx"));
        QCOMPARE(windowCaption(doc), QStringLiteral("nadrazi.stvx - Kalmor v0.5"));
        QCOMPARE(pathPanelText(doc), QStringLiteral("/data/stanice/nadrazi.stvx"));
    }

    void newStation()
    {
        Fixture f;
        f.fill();
        f.doc.setCurrentPath(path(QStringLiteral("a.stvx")));
        f.doc.setBackgroundColour(rgbColour(1, 2, 3));
        const QByteArray before = snapshot(f.doc);

        QVERIFY(!f.life.newStation());  // empty queue answers No
        QCOMPARE(f.prompts.questions, QStringList{QStringLiteral("Zahodit neuložené změny?")});
        QCOMPARE(snapshot(f.doc), before);
        QCOMPARE(f.doc.status(), DocumentStatus::Modified);
        QVERIFY(f.doc.hasCurrentPath());

        f.prompts.answers = {true};
        QVERIFY(f.life.newStation());
        QVERIFY(!f.doc.hasAnyElement());
        QCOMPARE(f.doc.status(), DocumentStatus::New);
        QCOMPARE(pathPanelText(f.doc), QStringLiteral("(žádný soubor)"));
        QCOMPARE(windowCaption(f.doc), QStringLiteral("Kalmor v0.5 - Nová stanice"));
        QCOMPARE(f.doc.rows(), 50);
        QCOMPARE(f.doc.columns(), 100);
        QCOMPARE(f.doc.stationName(), QStringLiteral("Nádraží"));
        QCOMPARE(f.doc.backgroundColour(), rgbColour(1, 2, 3));
        QVERIFY(f.host.log.isEmpty());

        // Only lamps, or nothing at all: a modified station still asks.
        f.prompts.questions.clear();
        f.doc.lamps().append(lamp(0, 0));
        f.doc.markModified();
        QVERIFY(!f.life.newStation());
        QCOMPARE(f.doc.lamps().count(), 1);
        f.doc.lamps().clear();
        QVERIFY(!f.life.newStation());
        QCOMPARE(f.prompts.questions.size(), 2);
        QCOMPARE(f.doc.status(), DocumentStatus::Modified);

        // Loaded, saved or new: no question.
        f.prompts.questions.clear();
        for (DocumentStatus s : {DocumentStatus::Loaded, DocumentStatus::Saved, DocumentStatus::New}) {
            f.doc.tiles().append(tile(9, 9));
            f.doc.setStatus(s);
            QVERIFY(f.life.newStation());
            QVERIFY(!f.doc.hasAnyElement());
        }
        QVERIFY(f.prompts.questions.isEmpty());
    }

    void saveAndSaveAs()
    {
        Fixture f;
        f.fill();
        const QString first = path(QStringLiteral("prvni.stvx"));
        f.prompts.savePaths = {first};
        QVERIFY(f.life.saveStation());
        QCOMPARE(f.prompts.saveDialogs, 1);
        QCOMPARE(f.doc.status(), DocumentStatus::Saved);
        QCOMPARE(f.doc.currentPath(), first);
        QCOMPARE(windowCaption(f.doc), QStringLiteral("prvni.stvx - Kalmor v0.5"));
        QCOMPARE(fileBytes(first), snapshot(f.doc));

        // A second Save writes to the same file without a dialog.
        f.doc.tiles().append(tile(20, 20));
        f.doc.markModified();
        QVERIFY(f.life.saveStation());
        QCOMPARE(f.prompts.saveDialogs, 1);
        QCOMPARE(fileBytes(first), snapshot(f.doc));
        QCOMPARE(f.doc.status(), DocumentStatus::Saved);

        // Save As always asks; a cancelled dialog changes nothing.
        f.doc.markModified();
        QVERIFY(!f.life.saveStationAs());
        QCOMPARE(f.prompts.saveDialogs, 2);
        QCOMPARE(f.doc.status(), DocumentStatus::Modified);
        QCOMPARE(f.doc.currentPath(), first);

        const QString second = path(QStringLiteral("druhy.stvx"));
        f.prompts.savePaths = {second};
        QVERIFY(f.life.saveStationAs());
        QCOMPARE(f.doc.currentPath(), second);
        QCOMPARE(fileBytes(second), snapshot(f.doc));
        QVERIFY(f.prompts.messages.isEmpty());
    }

    void saveSequenceOrder()
    {
        Fixture f;
        f.fill();
        const QString target = path(QStringLiteral("poradi.stvx"));
        QVERIFY(f.life.saveTo(target));
        QStringList expected{QStringLiteral("hide panels")};
        expected << sections(false)
                 << QStringLiteral("progress Ukládání souboru: %1 3").arg(target)
                 << QStringLiteral("lock") << QStringLiteral("steps") << QStringLiteral("unlock")
                 << QStringLiteral("hide progress") << QStringLiteral("show panels") << sections(true);
        QCOMPARE(f.host.log, expected);
        QCOMPARE(f.host.steps, 4);
        QCOMPARE(f.host.unlockedSteps, 0);

        // Lamps without tiles: every lamp line is written.
        Fixture g;
        for (int i = 0; i < 3; ++i)
            g.doc.lamps().append(lamp(i, i));
        g.doc.markModified();
        QVERIFY(g.life.saveTo(target));
        QCOMPARE(fileBytes(target), snapshot(g.doc));
        QCOMPARE(g.host.steps, 3);
        QVERIFY(g.host.log.contains(QStringLiteral("progress Ukládání souboru: %1 2").arg(target)));
        QCOMPARE(g.doc.status(), DocumentStatus::Saved);

        // No element: a note, no hiding, and the save finishes normally.
        Fixture e;
        e.doc.markModified();
        QVERIFY(e.life.saveTo(target));
        QCOMPARE(e.prompts.messages,
                 QStringList{QStringLiteral("Uložený soubor neobsahuje žádný prvek na panelu Vaxel.")});
        QVERIFY(e.prompts.warnings.isEmpty());  // a note, not a failure
        QCOMPARE(e.host.log, sections(true));
        QCOMPARE(e.doc.status(), DocumentStatus::Saved);
        QCOMPARE(fileBytes(target), settingLines(e.doc.data()));
    }

    void commandsWaitWhileSaving()
    {
        Fixture f;
        f.fill();
        QStringList refused;
        f.host.onStep = [&] {
            if (f.host.steps != 1)
                return;
            QVERIFY(f.life.isSaving());
            f.prompts.answers = {true, true};
            f.prompts.openPaths = {path(QStringLiteral("x.stvx"))};
            if (!f.life.newStation())
                refused << QStringLiteral("new");
            if (!f.life.openStation())
                refused << QStringLiteral("open");
            if (!f.life.saveStation())
                refused << QStringLiteral("save");
            if (!f.life.confirmClose())
                refused << QStringLiteral("close");
        };
        QVERIFY(f.life.saveTo(path(QStringLiteral("behem.stvx"))));
        QCOMPARE(refused, (QStringList{"new", "open", "save", "close"}));
        QVERIFY(!f.life.isSaving());
        QCOMPARE(f.doc.tiles().count(), 2);
        QVERIFY(f.prompts.questions.isEmpty());
    }

    void failedSaveBeforeWriting()
    {
        const QString plain = path(QStringLiteral("obycejny"));
        writeBytes(plain, "x");
        const QString dirTarget = path(QStringLiteral("slozka.stvx"));
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("slozka.stvx")));

        for (const QString &target : {plain + QStringLiteral("/a.stvx"), dirTarget}) {
            Fixture f;
            f.fill();
            f.doc.setCurrentPath(path(QStringLiteral("puvodni.stvx")));
            f.prompts.savePaths = {target};
            QVERIFY(!f.life.saveStationAs());
            QCOMPARE(f.prompts.messages.size(), 1);
            QVERIFY(!f.prompts.messages.first().isEmpty());
            QCOMPARE(f.prompts.warnings, f.prompts.messages);
            QVERIFY(f.host.log.isEmpty());
            QCOMPARE(f.doc.status(), DocumentStatus::Modified);
            QCOMPARE(f.doc.currentPath(), path(QStringLiteral("puvodni.stvx")));
        }
        QCOMPARE(fileBytes(plain), QByteArray("x"));
        QVERIFY(QFileInfo(dirTarget).isDir());
    }

    void failedSaveWhileWritingElements()
    {
        // Root may write anywhere, so the failure comes from a file size
        // limit: the new file outgrows it while the element lines are
        // written, the old file below the limit must survive unchanged.
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("stara.stvx"));
        const QByteArray old = "SET_Vyska;12\r\nSET_Sirka;34\r\n";
        writeBytes(target, old);

        Fixture f;
        for (int i = 0; i < 100000; ++i)
            f.doc.tiles().append(tile(i % 1000, i / 1000));
        f.doc.setCurrentPath(target);
        f.doc.markModified();

        // The error comes first, then the window is given back.
        qsizetype messagesBeforePanels = -1;
        f.host.onShowPanels = [&] { messagesBeforePanels = f.prompts.messages.size(); };
        QVERIFY(!saveWithSizeLimit(f, 256 * 1024));

        QCOMPARE(fileBytes(target), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"stara.stvx"});
        QCOMPARE(f.prompts.messages.size(), 1);
        QCOMPARE(messagesBeforePanels, 1);
        QCOMPARE(f.doc.status(), DocumentStatus::Modified);
        QCOMPARE(f.doc.currentPath(), target);
        QVERIFY(f.host.steps > 0 && f.host.steps < 100000);
        QStringList expected{QStringLiteral("hide panels")};
        expected << sections(false) << QStringLiteral("progress Ukládání souboru: %1 99999").arg(target)
                 << QStringLiteral("lock") << QStringLiteral("steps") << QStringLiteral("unlock")
                 << QStringLiteral("show panels") << sections(true) << QStringLiteral("hide progress");
        QCOMPARE(f.host.log, expected);
    }

    void failedSaveAtClose()
    {
        // A small file is written in one block when it is closed: the
        // failure comes after the last element line, and still the error
        // is shown before the window is given back.
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("mala.stvx"));
        const QByteArray old = "SET_Vyska;12\r\n";
        writeBytes(target, old);
        Fixture f;
        for (int i = 0; i < 20; ++i)
            f.doc.tiles().append(tile(i, i));
        f.doc.setCurrentPath(target);
        f.doc.markModified();
        qsizetype messagesBeforePanels = -1;
        f.host.onShowPanels = [&] { messagesBeforePanels = f.prompts.messages.size(); };
        QVERIFY(!saveWithSizeLimit(f, rlim_t(settingLines(f.doc.data()).size() + 10)));

        QCOMPARE(f.host.steps, 20);
        QCOMPARE(f.prompts.messages.size(), 1);
        QCOMPARE(messagesBeforePanels, 1);
        QStringList expected{QStringLiteral("hide panels")};
        expected << sections(false) << QStringLiteral("progress Ukládání souboru: %1 19").arg(target)
                 << QStringLiteral("lock") << QStringLiteral("steps") << QStringLiteral("unlock")
                 << QStringLiteral("show panels") << sections(true) << QStringLiteral("hide progress");
        QCOMPARE(f.host.log, expected);
        QCOMPARE(fileBytes(target), old);
        QCOMPARE(f.doc.status(), DocumentStatus::Modified);
        QCOMPARE(f.doc.currentPath(), target);
    }

    void openStation()
    {
        Fixture src;
        src.fill();
        src.doc.setRows(77);
        const QString file = path(QStringLiteral("zdroj.stvx"));
        QVERIFY(src.life.saveTo(file));

        Fixture f;
        f.doc.tiles().append(tile(40, 40));
        f.doc.markModified();
        const QByteArray before = snapshot(f.doc);

        // Modified: the question comes first; No opens no dialog.
        QVERIFY(!f.life.openStation());
        QCOMPARE(f.prompts.questions, QStringList{QStringLiteral("Zahodit neuložené změny?")});
        QCOMPARE(f.prompts.openDialogs, 0);
        QCOMPARE(snapshot(f.doc), before);

        // Yes, then a cancelled dialog: still nothing changes.
        f.prompts.answers = {true};
        QVERIFY(!f.life.openStation());
        QCOMPARE(f.prompts.openDialogs, 1);
        QCOMPARE(snapshot(f.doc), before);
        QCOMPARE(f.doc.status(), DocumentStatus::Modified);

        f.prompts.answers = {true};
        f.prompts.openPaths = {file};
        QVERIFY(f.life.openStation());
        QCOMPARE(snapshot(f.doc), snapshot(src.doc));
        QCOMPARE(f.doc.status(), DocumentStatus::Loaded);
        QCOMPARE(f.doc.currentPath(), file);
        QCOMPARE(windowCaption(f.doc), QStringLiteral("zdroj.stvx - Kalmor v0.5"));
        QVERIFY(f.host.log.isEmpty());

        // Loaded: opening again asks nothing and gives the same lists.
        f.prompts.questions.clear();
        f.prompts.openPaths = {file};
        QVERIFY(f.life.openStation());
        QVERIFY(f.prompts.questions.isEmpty());
        QCOMPARE(snapshot(f.doc), snapshot(src.doc));
    }

    void failedOpenKeepsDocument()
    {
        Fixture src;
        src.fill();
        src.doc.setIssueDate(QStringLiteral("01.01.2001"));
        QByteArray bytes = settingLines(src.doc.data()) + tileLine(tile(1, 1));
        QByteArray bad = tileLine(tile(777, 1));
        bad.replace("777", "7x7");
        bytes += bad + tileLine(tile(2, 2));
        const QString file = path(QStringLiteral("vadny.stvx"));
        writeBytes(file, bytes);

        for (DocumentStatus status : {DocumentStatus::Saved, DocumentStatus::Modified}) {
            Fixture f;
            f.fill();
            f.doc.setIssueDate(QStringLiteral("24.12.2020"));
            f.doc.setCurrentPath(path(QStringLiteral("dobry.stvx")));
            f.doc.setStatus(status);
            const QByteArray before = snapshot(f.doc);
            QSignalSpy replaced(&f.doc, &StationDocument::elementsReplaced);
            QSignalSpy texts(&f.doc, &StationDocument::textsChanged);

            f.prompts.answers = {true};
            f.prompts.openPaths = {file};
            QVERIFY(!f.life.openStation());
            QCOMPARE(f.prompts.messages.size(), 1);
            QVERIFY(f.prompts.messages.first().contains(QStringLiteral("7x7")));
            QCOMPARE(f.prompts.warnings, f.prompts.messages);
            QCOMPARE(snapshot(f.doc), before);
            QCOMPARE(f.doc.status(), status);
            QCOMPARE(f.doc.currentPath(), path(QStringLiteral("dobry.stvx")));
            QCOMPARE(replaced.count(), 0);
            QCOMPARE(texts.count(), 0);
        }

        // A file that cannot be opened at all.
        Fixture g;
        g.fill();
        const QByteArray before = snapshot(g.doc);
        QVERIFY(!g.life.openFrom(path(QStringLiteral("chybi.stvx"))));
        QCOMPARE(g.prompts.messages.size(), 1);
        QCOMPARE(g.prompts.warnings, g.prompts.messages);
        QCOMPARE(snapshot(g.doc), before);
    }

    void closeQuestion()
    {
        Fixture f;
        QVERIFY(f.life.confirmClose());
        QVERIFY(f.prompts.questions.isEmpty());

        // Modified, even with empty lists, asks; No keeps the window open.
        f.doc.markModified();
        QVERIFY(!f.life.confirmClose());
        QCOMPARE(f.prompts.questions,
                 QStringList{QStringLiteral("Soubor (žádný soubor) byl upraven, zavřít bez uložení změn?")});
        f.prompts.answers = {true};
        f.doc.setCurrentPath(QStringLiteral("/data/stanice/nadrazi.stvx"));
        QVERIFY(f.life.confirmClose());
        QCOMPARE(f.prompts.questions.last(),
                 QStringLiteral("Soubor nadrazi.stvx byl upraven, zavřít bez uložení změn?"));
        QCOMPARE(f.doc.status(), DocumentStatus::Modified);

        f.doc.setStatus(DocumentStatus::Loaded);
        f.doc.tiles().append(tile(0, 0));
        QVERIFY(f.life.confirmClose());
        QCOMPARE(f.prompts.questions.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestLifecycle)
#include "test_lifecycle.moc"
