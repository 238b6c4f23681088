#include "document/StationHistory.h"
#include "document/TAboutStation.h"
#include "support/ScriptedPrompts.h"
#include "support/TypeText.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace kalmor;

class TestAboutStation : public QObject {
    Q_OBJECT
private slots:
    void layout()
    {
        StationDocument doc;
        StationHistory history(doc);
        TAboutStation dlg(history);
        QCOMPARE(dlg.objectName(), QStringLiteral("AboutStation"));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("O stanci"));
        QCOMPARE(dlg.size(), QSize(407, 142));
        QCOMPARE(dlg.minimumSize(), dlg.maximumSize());
        QVERIFY(dlg.windowFlags().testFlag(Qt::Tool));
        QCOMPARE(dlg.findChild<QLineEdit *>(QStringLiteral("E_Popis"))->geometry(), QRect(64, 40, 337, 21));
        QCOMPARE(dlg.findChild<QLineEdit *>(QStringLiteral("E_Vydano"))->geometry(), QRect(64, 112, 89, 21));
        QCOMPARE(dlg.findChild<QPushButton *>(QStringLiteral("Button1"))->text(), QStringLiteral("OK"));

        QStringList order;
        QWidget *w = dlg.E_Stanice();
        for (int i = 0; i < 6; ++i, w = w->nextInFocusChain()) {
            while (!qobject_cast<QLineEdit *>(w) && !qobject_cast<QPushButton *>(w))
                w = w->nextInFocusChain();
            order << w->objectName();
        }
        QCOMPARE(order, (QStringList{"E_Stanice", "E_Autor", "E_Verze", "E_Vydano", "Button1", "E_Popis"}));
    }

    void issueDateOffer()
    {
        StationDocument doc;
        doc.setStatus(DocumentStatus::New);
        StationHistory history(doc);
        TAboutStation dlg(history);
        dlg.setDateSource([] { return QDate(2026, 12, 8); });
        ScriptedPrompts prompts;
        const QString question = QStringLiteral("Datum vydání není vyplněno, vyplnit dnešní datum?");

        // No leaves it empty and asks again next time.
        dlg.offerIssueDate(prompts);
        dlg.offerIssueDate(prompts);
        QCOMPARE(prompts.questions, (QStringList{question, question}));
        QVERIFY(doc.issueDate().isEmpty());
        QCOMPARE(doc.status(), DocumentStatus::New);

        prompts.answers = {true};
        dlg.offerIssueDate(prompts);
        QCOMPARE(doc.issueDate(), QStringLiteral("08.12.2026"));
        QCOMPARE(dlg.E_Vydano()->text(), QStringLiteral("08.12.2026"));
        QCOMPARE(doc.status(), DocumentStatus::Modified);

        // Any text, even one blank, is a date: no question.
        doc.setIssueDate(QStringLiteral(" "));
        dlg.offerIssueDate(prompts);
        QCOMPARE(prompts.questions.size(), 3);

        // Deleting the date marks the station modified and brings the question back.
        doc.setStatus(DocumentStatus::Saved);
        dlg.E_Vydano()->setFocus();
        dlg.E_Vydano()->selectAll();
        QTest::keyClick(dlg.E_Vydano(), Qt::Key_Delete);
        QVERIFY(doc.issueDate().isEmpty());
        QCOMPARE(doc.status(), DocumentStatus::Modified);

        // Opening shows the dialog modally; "OK" closes it.
        bool wasModal = false;
        QTimer::singleShot(0, &dlg, [&] {
            wasModal = dlg.isVisible() && dlg.isModal();
            dlg.Button1()->click();
        });
        dlg.open(prompts);
        QCOMPARE(prompts.questions.size(), 4);
        QVERIFY(wasModal);
        QVERIFY(!dlg.isVisible());
    }

    void typing()
    {
        StationDocument doc;
        StationHistory history(doc);
        TAboutStation dlg(history);
        dlg.show();
        QLineEdit *name = dlg.E_Stanice();
        name->setFocus();
        typeText(name, QStringLiteral("Přerov;os.n.жž"));
        QCOMPARE(name->text(), QStringLiteral("Přerovos.n.ž"));
        QCOMPARE(doc.stationName(), QStringLiteral("Přerovos.n.ž"));
        QCOMPARE(doc.status(), DocumentStatus::Modified);

        // Typing in the middle: the view must not jump the cursor to the end.
        name->setCursorPosition(0);
        QTest::keyClicks(name, QStringLiteral("ab"));
        QCOMPARE(doc.stationName(), QStringLiteral("abPřerovos.n.ž"));

        QTest::keyClicks(dlg.E_Verze(), QStringLiteral("1.2.3.4.5.6.7"));
        QCOMPARE(doc.version(), QStringLiteral("1.2.3.4.5."));
        QTest::keyClicks(dlg.E_Popis(), QString(60, QLatin1Char('p')));
        QCOMPARE(doc.description().size(), 50);
        typeText(dlg.E_Autor(), QStringLiteral("Novák"));
        QCOMPARE(doc.author(), QStringLiteral("Novák"));
    }

    // Typing in one field is one step until another field is typed in or
    // the dialog closes, typing back to where the step began leaves none,
    // and the filled-in date is a step of its own. An undo shows the
    // restored text at once.
    void typingSteps()
    {
        StationDocument doc;
        StationHistory history(doc);
        TAboutStation dlg(history);
        dlg.setDateSource([] { return QDate(2026, 12, 8); });
        ScriptedPrompts prompts;
        prompts.answers = {true};
        dlg.offerIssueDate(prompts);
        typeText(dlg.E_Stanice(), QStringLiteral("Brno"));
        typeText(dlg.E_Autor(), QStringLiteral("Já"));
        typeText(dlg.E_Stanice(), QStringLiteral(" hl.n."));
        QCOMPARE(history.undoSteps(), 4);
        QCOMPARE(history.undoName(), QStringLiteral("Změna názvu stanice"));
        QVERIFY(history.undo());
        QCOMPARE(dlg.E_Stanice()->text(), QStringLiteral("Brno"));
        QVERIFY(history.undo() && history.undo());
        QCOMPARE(dlg.E_Autor()->text(), QString());
        QCOMPARE(dlg.E_Stanice()->text(), QString());
        QCOMPARE(history.undoName(), QStringLiteral("Vyplnění data vydání"));
        QVERIFY(history.undo());
        QCOMPARE(dlg.E_Vydano()->text(), QString());
        QCOMPARE(doc.status(), DocumentStatus::New);

        typeText(dlg.E_Verze(), QStringLiteral("1"));
        dlg.Button1()->click();
        typeText(dlg.E_Verze(), QStringLiteral("2"));
        QCOMPARE(history.undoSteps(), 2);
        QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QApplication::sendEvent(dlg.E_Verze(), &backspace);
        QCOMPARE(doc.version(), QStringLiteral("1"));
        QCOMPARE(history.undoSteps(), 1);
        QVERIFY(!history.canRedo());
    }

    void textsFromTheDocument()
    {
        StationDocument doc;
        StationHistory history(doc);
        TAboutStation dlg(history);
        dlg.show();
        StationData data = doc.data().settingsOnly();
        data.stationName = QString(60, QLatin1Char('s'));
        data.issueDate = QStringLiteral("1. ledna 2001");
        data.author = QStringLiteral("Autor");
        doc.takeOver(std::move(data));
        QCOMPARE(dlg.E_Stanice()->text().size(), 60);
        QCOMPARE(dlg.E_Vydano()->text(), QStringLiteral("1. ledna 2001"));
        QCOMPARE(dlg.E_Autor()->text(), QStringLiteral("Autor"));
        QCOMPARE(doc.stationName().size(), 60);

        // Typing can only shorten a text longer than the limit.
        QLineEdit *name = dlg.E_Stanice();
        name->setFocus();
        name->end(false);
        QTest::keyClick(name, Qt::Key_X);
        QCOMPARE(doc.stationName().size(), 60);
        QTest::keyClick(name, Qt::Key_Backspace);
        QCOMPARE(doc.stationName().size(), 59);
        QTest::keyClick(name, Qt::Key_X);
        QCOMPARE(doc.stationName().size(), 59);

        // New keeps the texts.
        doc.resetForNew();
        QCOMPARE(dlg.E_Autor()->text(), QStringLiteral("Autor"));
    }
};

QTEST_MAIN(TestAboutStation)
#include "test_aboutstation.moc"
