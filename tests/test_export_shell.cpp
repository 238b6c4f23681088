// The editor's side of pictures and paper, and a station named on the
// command line.
#include "document/StationDocument.h"
#include "render/Viewport.h"
#include "shell/Application.h"
#include "shell/ExportCommand.h"
#include "shell/PrintCommand.h"
#include "shell/QtPrompts.h"
#include "shell/TPanelVaxel.h"
#include "shell/TStarter.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace kalmor;

namespace {

const QString DataDir = QStringLiteral(KALMOR_TEST_DATA);

// Answers the next modal box or dialog once it is up.
void whenModal(std::function<void(QWidget *)> answer)
{
    QTimer::singleShot(0, [answer] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        answer(modal);
    });
}

// Closes the next message box with OK and keeps its text.
void keepMessage(QString &text)
{
    whenModal([&text](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        text = box->text();
        box->accept();
    });
}

void runSplash(Application &app)
{
    app.starter().timer()->stop();
    while (app.starter().counter() < TStarter::HandOverAt)
        app.starter().TM_StarterTimer();
}

bool menusEnabled(const TPanelVaxel &w)
{
    for (const MenuSection s : MenuSectionOrder)
        if (!w.menu().section(s)->isEnabled())
            return false;
    return true;
}

}  // namespace

class TestExportShell : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installCzechQtTranslation(qApp); }
    void stationFromCommandLine();
    void exportThroughTheDialog();
    void printPreview();

private:
    QTemporaryDir m_dir;
};

void TestExportShell::stationFromCommandLine()
{
    const QString path = DataDir + QStringLiteral("/horni_lhota.stvx");
    {
        Application app(path);
        runSplash(app);
        QTRY_COMPARE(app.document().currentPath(), QFileInfo(path).absoluteFilePath());
        QCOMPARE(app.document().status(), DocumentStatus::Loaded);
        QCOMPARE(app.mainWindow().windowTitle(), QStringLiteral("horni_lhota.stvx - Kalmor v0.5"));
        QCOMPARE(app.document().tiles().count(), 4);
    }
    // A file that cannot be read: Open's message, the new station stays.
    Application app(m_dir.filePath("missing.stvx"));
    runSplash(app);
    QString message;
    keepMessage(message);
    QTRY_COMPARE(message, QStringLiteral("File not found"));
    QVERIFY(!app.starter().isVisible());
    QCOMPARE(app.document().status(), DocumentStatus::New);
    QVERIFY(!app.document().hasCurrentPath());
}

void TestExportShell::exportThroughTheDialog()
{
    StationDocument doc;
    TPanelVaxel w(doc);
    w.lifecycle()->openFrom(DataDir + QStringLiteral("/horni_lhota.stvx"));
    w.prompts().exportDialog()->setDirectory(m_dir.path());
    // A name without extension gets the chosen filter's.
    whenModal([](QWidget *modal) {
        auto *d = qobject_cast<QFileDialog *>(modal);
        QVERIFY(d);
        QCOMPARE(d->objectName(), QStringLiteral("Exportovat"));
        // As the user picks it: the filter box reports the choice.
        auto *filters = d->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        QVERIFY(filters);
        filters->setCurrentIndex(1);
        emit filters->activated(1);
        emit filters->textActivated(filters->currentText());
        d->selectFile(QStringLiteral("panel"));
        static_cast<QDialog *>(d)->accept();
    });
    w.findChild<QAction *>(QStringLiteral("MP_Export"))->trigger();
    QFile pdf(m_dir.filePath("panel.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.readAll().startsWith("%PDF-"));
    QVERIFY(menusEnabled(w));
    QVERIFY(!w.exportCommand()->isRunning());

    // The picture is the station's panel at the cell size of the window.
    w.viewport().setZoom(-37);
    QVERIFY(w.exportCommand()->exportTo(m_dir.filePath("panel.png")));
    QCOMPARE(QImage(m_dir.filePath("panel.png")).size(), QSize(20 * 10, 12 * 10));

    // Too many pixels for PNG: said in Czech, nothing written.
    w.viewport().setZoom(0);
    doc.setColumns(4000);
    doc.setRows(4000);
    QString message;
    keepMessage(message);
    QVERIFY(!w.exportCommand()->exportTo(m_dir.filePath("huge.png")));
    QVERIFY2(message.contains(QStringLiteral("pro PNG příliš mnoho")), qPrintable(message));
    QVERIFY(!QFile::exists(m_dir.filePath("huge.png")));
    QVERIFY(menusEnabled(w));
}

void TestExportShell::printPreview()
{
    StationDocument doc;
    TPanelVaxel w(doc);
    QAction *print = w.findChild<QAction *>(QStringLiteral("MP_Tisk"));
    QCOMPARE(print->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    bool checked = false;
    whenModal([&checked](QWidget *modal) {
        auto *preview = qobject_cast<QPrintPreviewDialog *>(modal);
        QVERIFY(preview);
        auto *mode = preview->findChild<QComboBox *>(QStringLiteral("CB_Rozvrzeni"));
        auto *scale = preview->findChild<QSpinBox *>(QStringLiteral("SE_Meritko"));
        QVERIFY(mode && scale);
        QVERIFY(!scale->isEnabled());
        mode->setCurrentIndex(1);
        QVERIFY(scale->isEnabled());
        scale->setValue(50);
        checked = true;
        preview->reject();
    });
    print->trigger();
    QVERIFY(checked);
    // The choice is kept for the next print.
    QCOMPARE(w.printCommand()->options().fitToPage, false);
    QCOMPARE(w.printCommand()->options().scalePercent, 50);
}

QTEST_MAIN(TestExportShell)
#include "test_export_shell.moc"
