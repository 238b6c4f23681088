#include "document/DocumentLifecycle.h"
#include "document/LineInterpreter.h"
#include "document/StationFile.h"
#include "support/ReadBothWays.h"
#include "support/ScriptedPrompts.h"
#include "support/StationBytes.h"
#include "support/LifecycleFixture.h"

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

using namespace kalmor;
using namespace kalmor::lifecycletest;

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
        QSignalSpy closeDue(&f.life, &DocumentLifecycle::closeRequestDue);
        QVERIFY(f.life.saveTo(path(QStringLiteral("behem.stvx"))));
        QCOMPARE(refused, (QStringList{"new", "open", "save", "close"}));
        QVERIFY(!f.life.isSaving());
        // The close asked for meanwhile is asked again now.
        QCOMPARE(closeDue.count(), 1);
        QCOMPARE(f.doc.tiles().count(), 2);
        QVERIFY(f.prompts.questions.isEmpty());
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
