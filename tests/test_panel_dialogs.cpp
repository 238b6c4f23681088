#include "document/StationHistory.h"
#include "view/DrawingSurface.h"
#include "render/FrameInputs.h"
#include "render/ImageSet.h"
#include "view/SpinEdit.h"
#include "render/SystemColours.h"
#include "view/TNahledPanelu.h"
#include "view/TNastaveniPanelu.h"
#include "render/Viewport.h"
#include "support/ScriptedPrompts.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

using namespace kalmor;

namespace {

QLineEdit *editorOf(QSpinBox *spin)
{
    return spin->findChild<QLineEdit *>();
}

// Replaces the whole text at once, as a paste over the selection does.
void enter(QSpinBox *spin, const QString &text)
{
    QLineEdit *e = editorOf(spin);
    e->selectAll();
    e->insert(text);
}

void leave(QSpinBox *spin)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(spin, &out);
}

struct Settings {
    StationDocument doc;
    StationHistory history{doc};
    ScriptedPrompts prompts;
    Viewport viewport;
    RenderState state;
    TNastaveniPanelu dlg{history, prompts, viewport, state};
};

struct Preview {
    StationDocument doc;
    Viewport viewport;
    ImageSet images{QStringLiteral("/nonexistent/")};
    X_Plocha surface{doc, images, viewport};
    TNahledPanelu dlg{surface};
};

}  // namespace

class TestPanelDialogs : public QObject {
    Q_OBJECT
private slots:
    // Typing in one size field is one step, the colour one of its own;
    // an undo shows the restored value at once.
    void sizeAndColourSteps()
    {
        Settings s;
        s.prompts.colours = {rgbColour(200, 0, 0)};
        for (const char *typed : {"6", "60", "600"})
            enter(s.dlg.SE_PolickaVyska(), QString::fromLatin1(typed));
        s.dlg.Button1Click();
        QCOMPARE(s.history.undoSteps(), 2);
        QCOMPARE(s.doc.rows(), 600);
        QVERIFY(s.history.undo());
        QCOMPARE(s.dlg.sampleColour(), clMedGray);
        QCOMPARE(s.doc.backgroundColour(), clMedGray);
        QVERIFY(s.history.undo());
        QCOMPARE(s.dlg.SE_PolickaVyska()->value(), 50);
        QCOMPARE(s.doc.rows(), 50);
        QVERIFY(!s.history.canUndo());
        QVERIFY(s.history.redo());
        QCOMPARE(s.dlg.SE_PolickaVyska()->text(), QStringLiteral("600"));
    }

    // Typing into and stepping the spin edits of the settings dialog.
    void typedZoom();
    void typedSizes();
    void steppedValues();

    void settingsLayout()
    {
        Settings s;
        QCOMPARE(s.dlg.objectName(), QStringLiteral("NastaveniPanelu"));
        QCOMPARE(s.dlg.windowTitle(), QStringLiteral("Nastavení panelu Vaxel"));
        QCOMPARE(s.dlg.size(), QSize(354, 275));
        QVERIFY(s.dlg.windowFlags().testFlag(Qt::Tool));
        QVERIFY(!s.dlg.findChild<QPushButton *>(QStringLiteral("Button2"))->isEnabled());
        QVERIFY(!s.dlg.findChild<QFrame *>(QStringLiteral("Panel2"))->isEnabled());
        QCOMPARE(s.dlg.SE_PolickaVyska()->value(), 50);
        QCOMPARE(s.dlg.SE_PolickaSirka()->value(), 150);
        QCOMPARE(s.dlg.SE_Pruhlednost()->value(), 100);
        QCOMPARE(s.dlg.SE_Zvetseni()->value(), 0);
        QCOMPARE(s.dlg.sampleColour(), clMedGray);
    }

    void transparency()
    {
        // A number within 20 to 255 acts as soon as it is typed, the text
        // stays as typed and is corrected when editing ends; an emptied
        // field shows 100 selected, so what is typed next replaces it. The
        // preview never sees a value outside 20 to 255.
        Settings s;
        s.dlg.show();
        SpinEdit *spin = s.dlg.SE_Pruhlednost();
        QLineEdit *editor = spin->editor();
        editor->setFocus();
        const auto type = [&](const QString &text) {
            editor->selectAll();
            QTest::keyClicks(editor, text);
        };

        type(QStringLiteral("50"));
        QCOMPARE(spin->text(), QStringLiteral("50"));
        QCOMPARE(s.state.previewOpacity, 50);

        type(QStringLiteral("300"));
        QCOMPARE(spin->text(), QStringLiteral("300"));
        QCOMPARE(s.state.previewOpacity, 30);
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(spin->text(), QStringLiteral("255"));
        QCOMPARE(s.state.previewOpacity, 255);

        type(QStringLiteral("5"));
        QCOMPARE(spin->text(), QStringLiteral("5"));
        QCOMPARE(s.state.previewOpacity, 255);
        leave(spin);
        QCOMPARE(spin->text(), QStringLiteral("20"));
        QCOMPARE(s.state.previewOpacity, 20);

        // Clearing gives "100", even when the value already was 100.
        for (int round = 0; round < 2; ++round) {
            editor->selectAll();
            QTest::keyClick(editor, Qt::Key_Delete);
            QCOMPARE(spin->text(), QStringLiteral("100"));
            QCOMPARE(editor->selectedText(), QStringLiteral("100"));
            QCOMPARE(s.state.previewOpacity, 100);
        }
        QTest::keyClicks(editor, QStringLiteral("70"));
        QCOMPARE(spin->text(), QStringLiteral("70"));
        QCOMPARE(s.state.previewOpacity, 70);
    }

    void zoomAndApply()
    {
        Settings s;
        s.dlg.show();
        const QSize before = s.viewport.surfaceSize();
        enter(s.dlg.SE_Zvetseni(), QStringLiteral("20"));
        QCOMPARE(s.viewport.cellSize(), 67);
        QCOMPARE(s.viewport.surfaceSize(), before);

        // Rows and columns go into the document, the surface waits for "Nastavit".
        enter(s.dlg.SE_PolickaVyska(), QStringLiteral("30"));
        enter(s.dlg.SE_PolickaSirka(), QStringLiteral("40"));
        QCOMPARE(s.doc.rows(), 30);
        QCOMPARE(s.doc.columns(), 40);
        QCOMPARE(s.doc.status(), DocumentStatus::Modified);
        QCOMPARE(s.viewport.surfaceSize(), before);
        QCOMPARE(s.viewport.appliedColumns(), 150);

        s.dlg.findChild<QPushButton *>(QStringLiteral("Button4"))->click();
        QCOMPARE(s.viewport.appliedColumns(), 40);
        QCOMPARE(s.viewport.appliedRows(), 30);
        QCOMPARE(s.viewport.surfaceSize(), QSize(40 * 67, 30 * 67));

        // A cleared zoom is 0; a lone minus sign acts when editing ends,
        // as the minimum.
        editorOf(s.dlg.SE_Zvetseni())->setFocus();
        editorOf(s.dlg.SE_Zvetseni())->selectAll();
        QTest::keyClick(editorOf(s.dlg.SE_Zvetseni()), Qt::Key_Delete);
        QCOMPARE(s.dlg.SE_Zvetseni()->text(), QStringLiteral("0"));
        QCOMPARE(s.viewport.cellSize(), 47);
        editorOf(s.dlg.SE_Zvetseni())->selectAll();
        QTest::keyClick(editorOf(s.dlg.SE_Zvetseni()), Qt::Key_Minus);
        QCOMPARE(s.viewport.zoom(), 0);
        leave(s.dlg.SE_Zvetseni());
        QCOMPARE(s.viewport.zoom(), -200);

        // A load or New shows the document's size.
        StationData data = s.doc.data().settingsOnly();
        data.rows = 77;
        data.columns = 1234;
        s.doc.takeOver(std::move(data));
        QCOMPARE(s.dlg.SE_PolickaVyska()->value(), 77);
        QCOMPARE(s.dlg.SE_PolickaSirka()->value(), 1234);
        s.doc.resetForNew();
        QCOMPARE(s.dlg.SE_PolickaVyska()->value(), 50);
        QCOMPARE(s.dlg.SE_PolickaSirka()->value(), 100);
    }

    void backgroundColour()
    {
        Settings s;
        const Colour red = rgbColour(200, 10, 10);
        const Colour blue = rgbColour(0, 0, 250);
        s.prompts.colours = {red, std::nullopt};
        auto *button = s.dlg.findChild<QPushButton *>(QStringLiteral("Button1"));
        button->click();
        QCOMPARE(s.prompts.colourDialogInitials, QList<Colour>{clBlack});
        QCOMPARE(s.dlg.sampleColour(), red);
        QCOMPARE(s.dlg.UkazkaPozadi()->palette().color(QPalette::Window), toQColor(red));
        QCOMPARE(s.doc.backgroundColour(), red);
        QCOMPARE(s.state.fillColour, red);

        // Cancelled: the dialog opened with the last choice, nothing changed.
        button->click();
        QCOMPARE(s.prompts.colourDialogInitials.last(), red);
        QCOMPARE(s.dlg.sampleColour(), red);
        QCOMPARE(s.state.fillColour, red);

        // A load sets the sample, not the fill colour.
        StationData data = s.doc.data().settingsOnly();
        data.backgroundColour = blue;
        s.doc.takeOver(std::move(data));
        QCOMPARE(s.dlg.sampleColour(), blue);
        QCOMPARE(s.state.fillColour, red);
    }

    void previewShowsWholePanel()
    {
        Preview p;
        QCOMPARE(p.dlg.objectName(), QStringLiteral("NahledPanelu"));
        const Colour green = rgbColour(10, 120, 30);
        p.surface.renderState().fillColour = green;
        p.surface.switches().grid = false;
        p.viewport.applyPanelSize(100, 100);
        p.viewport.adjustScrollBars(QSize(800, 600));
        p.viewport.setHorizontalPosition(2000);

        // 0 fits the whole panel into the picture area, whatever the scroll.
        QCOMPARE(p.dlg.zoomField()->value(), 0);
        p.dlg.composePicture();
        const QSize room = p.dlg.pictureArea()->maximumViewportSize();
        const QImage fit = p.dlg.picture();
        QCOMPARE(fit.height(), room.height());
        QCOMPARE(fit.width(), room.height());
        QCOMPARE(fit.pixel(0, 0), toQColor(green).rgb());
        QCOMPARE(fit.pixel(fit.width() - 1, fit.height() - 1), toQColor(green).rgb());

        // A scale in percent of the work area's; a click closes the window
        // and centres the work area on the point.
        p.dlg.zoomField()->setValue(10);
        p.dlg.composePicture();
        QCOMPARE(p.dlg.picture().size(), QSize(470, 470));
        p.dlg.show();
        p.dlg.pictureClicked(QPoint(235, 100));
        QVERIFY(!p.dlg.isVisible());
        QCOMPARE(p.viewport.horizontal().position, 2350 - 400);
        QCOMPARE(p.viewport.vertical().position, 1000 - 300);

        // The largest panel at the largest scale: the picture stays within
        // its budget of pixels.
        p.viewport.applyPanelSize(4000, 4000);
        p.dlg.zoomField()->setValue(TNahledPanelu::MaxZoomPercent);
        p.dlg.composePicture();
        QVERIFY(qint64(p.dlg.picture().width()) * p.dlg.picture().height() <= TNahledPanelu::MaxPicturePixels);
        QCOMPARE(p.dlg.picture().width(), p.dlg.picture().height());
    }

    void previewWindow()
    {
        Preview p;
        QWidget *strip = p.dlg.findChild<QWidget *>(QStringLiteral("Panel1"));
        p.dlg.findChild<QPushButton *>(QStringLiteral("Button1"))->click();
        QVERIFY(strip->isHidden());
        QTest::mouseClick(p.dlg.findChild<QWidget *>(QStringLiteral("Panel2")), Qt::LeftButton);
        QVERIFY(!strip->isHidden());

        bool wasModal = false;
        QTimer::singleShot(0, &p.dlg, [&] {
            wasModal = p.dlg.isVisible() && p.dlg.isModal();
            p.dlg.close();
        });
        p.dlg.copyAndShow();
        QVERIFY(wasModal);
        QVERIFY(!p.dlg.isVisible());
        QCOMPARE(p.dlg.size(), QSize(928, 480));
    }
};

void TestPanelDialogs::typedZoom()
{
    // A number typed beyond -200 to 200 stands in the field but does not
    // act; when the focus leaves, the field holds the nearest bound and
    // the zoom takes it. Letters cannot be typed; a text that is no number
    // becomes the minimum when the focus leaves.
    Settings s;
    s.dlg.show();
    QSpinBox *zoom = s.dlg.SE_Zvetseni();
    enter(zoom, QStringLiteral("300"));
    QCOMPARE(zoom->text(), QStringLiteral("300"));
    QCOMPARE(s.viewport.cellSize(), 47);
    leave(zoom);
    QCOMPARE(zoom->text(), QStringLiteral("200"));
    QCOMPARE(s.viewport.cellSize(), 247);
    QCOMPARE(s.viewport.surfaceSize(), QSize(4800, 2400));

    enter(zoom, QStringLiteral("-250"));
    QCOMPARE(s.viewport.zoom(), 200);
    leave(zoom);
    QCOMPARE(zoom->text(), QStringLiteral("-200"));
    QCOMPARE(s.viewport.zoom(), -200);
    QCOMPARE(s.viewport.cellSize(), 1);

    enter(zoom, QStringLiteral("12"));
    enter(zoom, QStringLiteral("x"));
    QCOMPARE(zoom->text(), QStringLiteral("12"));
    QCOMPARE(s.viewport.cellSize(), 59);
    enter(zoom, QStringLiteral("-"));
    QCOMPARE(s.viewport.zoom(), 12);
    leave(zoom);
    QCOMPARE(zoom->text(), QStringLiteral("-200"));

    // A number too long for an integer is no number either.
    enter(zoom, QStringLiteral("12"));
    enter(zoom, QStringLiteral("99999999999"));
    QCOMPARE(s.viewport.zoom(), 12);
    leave(zoom);
    QCOMPARE(s.viewport.zoom(), -200);
}

void TestPanelDialogs::typedSizes()
{
    // Out-of-range sizes and transparencies typed in full.
    Settings s;
    s.dlg.show();
    enter(s.dlg.SE_PolickaSirka(), QStringLiteral("40"));
    QCOMPARE(s.doc.columns(), 40);
    enter(s.dlg.SE_PolickaSirka(), QStringLiteral("5000"));
    QCOMPARE(s.doc.columns(), 40);  // not a value of the field yet
    s.dlg.Button4Click();
    QCOMPARE(s.viewport.appliedColumns(), 4000);
    QCOMPARE(s.doc.columns(), 4000);
    QCOMPARE(s.dlg.SE_PolickaSirka()->text(), QStringLiteral("4000"));
    enter(s.dlg.SE_PolickaVyska(), QStringLiteral("7"));
    leave(s.dlg.SE_PolickaVyska());
    QCOMPARE(s.dlg.SE_PolickaVyska()->text(), QStringLiteral("10"));
    QCOMPARE(s.doc.rows(), 10);

    QSpinBox *opacity = s.dlg.SE_Pruhlednost();
    enter(opacity, QStringLiteral("5000"));
    QCOMPARE(opacity->text(), QStringLiteral("5000"));
    QCOMPARE(s.state.previewOpacity, 100);
    leave(opacity);
    QCOMPARE(opacity->text(), QStringLiteral("255"));
    QCOMPARE(s.state.previewOpacity, 255);
    enter(opacity, QStringLiteral("-"));
    QCOMPARE(s.state.previewOpacity, 255);
    leave(opacity);
    QCOMPARE(opacity->text(), QStringLiteral("20"));
    QCOMPARE(s.state.previewOpacity, 20);
}

void TestPanelDialogs::steppedValues()
{
    // The arrow buttons and keys change the text too, so the handlers run.
    Settings s;
    s.dlg.show();
    QSpinBox *zoom = s.dlg.SE_Zvetseni();
    zoom->stepBy(3);
    QCOMPARE(zoom->text(), QStringLiteral("3"));
    QCOMPARE(s.viewport.cellSize(), 50);
    zoom->setValue(-1);
    QCOMPARE(s.viewport.cellSize(), 46);

    QSpinBox *opacity = s.dlg.SE_Pruhlednost();
    opacity->stepBy(5);
    QCOMPARE(s.state.previewOpacity, 105);
    opacity->setValue(255);
    opacity->stepBy(1);
    QCOMPARE(opacity->text(), QStringLiteral("255"));
    QCOMPARE(s.state.previewOpacity, 255);
    opacity->setValue(20);
    QTest::keyClick(opacity, Qt::Key_Down);
    QCOMPARE(opacity->text(), QStringLiteral("20"));
    QCOMPARE(s.state.previewOpacity, 20);
}

QTEST_MAIN(TestPanelDialogs)
#include "test_panel_dialogs.moc"
