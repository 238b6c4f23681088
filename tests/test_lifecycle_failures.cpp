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

class TestLifecycleFailures : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
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

    void loadKeepsWindowAlive()
    {
        // A long load: the window gets its events, the commands that could
        // change the document are refused, a close waits for the end, and
        // after half a second the progress strip shows; the document
        // changes only when everything was read.
        Fixture src;
        src.fill();
        const QString file = path(QStringLiteral("pomala.stvx"));
        QVERIFY(src.life.saveTo(file));

        Fixture f;
        f.doc.tiles().append(tile(40, 40));
        f.doc.markModified();
        const QByteArray before = snapshot(f.doc);
        // The file is read; the load then runs, by the lifecycle's clock,
        // long enough to be held, until the test lets it end.
        std::atomic<bool> release{false};
        bool adopted = false;
        f.life.addLoadFollower([&](const StationData &read) -> std::function<void()> {
            f.now = DocumentLifecycle::LoadHoldAfterMs;
            QDeadlineTimer limit(std::chrono::seconds(20));
            while (!release && !limit.hasExpired())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            const QByteArray onTheLoadingThread = stationBytes(read);
            return [&adopted, &f, onTheLoadingThread] { adopted = snapshot(f.doc) == onTheLoadingThread; };
        });
        // Driven from the window's events while the load runs: the commands
        // are tried, then the clock goes to just before the progress
        // threshold and onto it, each step after the load has looked at the
        // clock again; the load ends once the strip shows.
        QStringList refused;
        QByteArray during;
        bool stripEarly = false;
        int stage = 0;
        int readsSeen = 0;
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            const bool stripShown = f.host.log.join(u'\n').contains(QStringLiteral("progress"));
            if (f.clockReads == readsSeen)
                return;
            readsSeen = f.clockReads;
            if (stage == 0) {
                if (!f.life.newStation())
                    refused << QStringLiteral("new");
                if (!f.life.saveStation())
                    refused << QStringLiteral("save");
                if (!f.life.openStation())
                    refused << QStringLiteral("open");
                if (!f.life.confirmClose())
                    refused << QStringLiteral("close");
                during = snapshot(f.doc);
                f.now = DocumentLifecycle::LoadProgressAfterMs - 1;
            } else if (stage == 1) {
                stripEarly = stripShown;
                f.now = DocumentLifecycle::LoadProgressAfterMs;
            } else if (stripShown) {
                release = true;
                driver.stop();
            }
            ++stage;
        });
        driver.start(0);
        QSignalSpy closeDue(&f.life, &DocumentLifecycle::closeRequestDue);
        QVERIFY(f.life.openFrom(file));
        QVERIFY(release);
        QVERIFY(!stripEarly);
        QCOMPARE(refused, (QStringList{"new", "save", "open", "close"}));
        QVERIFY(f.prompts.questions.isEmpty());
        QCOMPARE(during, before);
        QVERIFY(adopted);
        QCOMPARE(snapshot(f.doc), snapshot(src.doc));
        QCOMPARE(closeDue.count(), 1);
        QStringList expected = sections(false);
        expected << QStringLiteral("lock") << QStringLiteral("progress Otevírání souboru: %1 100").arg(file)
                 << QStringLiteral("steps") << QStringLiteral("hide progress") << QStringLiteral("unlock")
                 << sections(true);
        QCOMPARE(f.host.log, expected);
        QCOMPARE(f.host.steps, 100);
    }

    void refusedFiles()
    {
        // Only regular files are read or written: a pipe without a writer,
        // an endless device, a link to the pipe and a folder are refused at
        // once, and a line longer than 64 MiB stops the read; nothing
        // changes.
        const QString pipe = path(QStringLiteral("roura.stvx"));
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const QString link = path(QStringLiteral("odkaz.stvx"));
        QVERIFY(QFile::link(pipe, link));
        const QString folder = path(QStringLiteral("slozka"));
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("slozka")));
        const QString longLine = path(QStringLiteral("dlouha.stvx"));
        writeBytes(longLine, "SET_Stanice;x\r\nSET_Popis;" + QByteArray(MaxLineBytes + 1, 'a') + "\r\n");
        // Text of another kind, which a save would overwrite with a station.
        const QString notes = path(QStringLiteral("poznamky.txt"));
        writeBytes(notes, "Seznam stanic\r\n\r\nHorn\xED Lhota;SET;PRUSVITKA\r\nset_Vyska;12\r\n");
        const QString empty = path(QStringLiteral("prazdna.stvx"));
        writeBytes(empty, "\r\n");

        Fixture f;
        f.fill();
        f.doc.setCurrentPath(path(QStringLiteral("dobry.stvx")));
        f.doc.setStatus(DocumentStatus::Saved);
        const QByteArray before = snapshot(f.doc);
        const QString denied = QStringLiteral("File access denied");
        const std::pair<QString, QString> cases[] = {{pipe, denied}, {QStringLiteral("/dev/zero"), denied},
                                                     {link, denied}, {folder, denied},
                                                     {longLine, QStringLiteral("Line 2 is longer than 64 MiB")},
                                                     {notes, QStringLiteral("Soubor není stanice Kalmor.")}};
        for (const auto &[file, message] : cases) {
            f.prompts.messages.clear();
            QVERIFY(!f.life.openFrom(file));
            QCOMPARE(f.prompts.messages, QStringList{message});
            QCOMPARE(snapshot(f.doc), before);
            QCOMPARE(f.doc.status(), DocumentStatus::Saved);
            QCOMPARE(f.doc.currentPath(), path(QStringLiteral("dobry.stvx")));
        }
        for (const QString &file : {pipe, link}) {
            f.prompts.messages.clear();
            QVERIFY(!f.life.saveTo(file));
            QCOMPARE(f.prompts.messages, QStringList{denied});
            struct stat info {};
            QCOMPARE(::stat(QFile::encodeName(pipe).constData(), &info), 0);
            QVERIFY(S_ISFIFO(info.st_mode));
        }
        QCOMPARE(f.doc.currentPath(), path(QStringLiteral("dobry.stvx")));

        // A file without a line of text is an empty station.
        f.prompts.messages.clear();
        QVERIFY(f.life.openFrom(empty));
        QVERIFY(f.prompts.messages.isEmpty());
        QVERIFY(!f.doc.hasAnyElement());
        QCOMPARE(f.doc.currentPath(), empty);
    }
};

QTEST_GUILESS_MAIN(TestLifecycleFailures)
#include "test_lifecycle_failures.moc"
