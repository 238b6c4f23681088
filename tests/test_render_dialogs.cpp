// Typing into the spin edits of the panel settings dialog.
#include "document/StationDocument.h"
#include "render/FrameInputs.h"
#include "render/TNastaveniPanelu.h"
#include "render/Viewport.h"
#include "support/ScriptedPrompts.h"

#include <QApplication>
#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>

using namespace kalmor;

namespace {

QLineEdit *editorOf(QSpinBox *spin)
{
    return spin->findChild<QLineEdit *>();
}

// Replaces the whole text at once, as typing over the selection does;
// the field's validator decides whether the text is taken.
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
    ScriptedPrompts prompts;
    Viewport viewport;
    RenderState state;
    TNastaveniPanelu dlg{doc, prompts, viewport, state};
};

}  // namespace

class TestRenderDialogs : public QObject {
    Q_OBJECT
private slots:
    void typedZoom();
    void typedSizes();
    void steppedValues();
};

void TestRenderDialogs::typedZoom()
{
    // A number typed beyond -200 to 200 acts as typed until the focus
    // leaves; then the field holds the nearest bound and the handler runs
    // again. Letters cannot be typed; a text that is no number reads as
    // the minimum and becomes it when the focus leaves.
    Settings s;
    s.dlg.show();
    QSpinBox *zoom = s.dlg.SE_Zvetseni();
    enter(zoom, QStringLiteral("300"));
    QCOMPARE(zoom->text(), QStringLiteral("300"));
    QCOMPARE(s.viewport.cellSize(), 347);
    QCOMPARE(s.viewport.surfaceSize(), QSize(4800, 2400));
    leave(zoom);
    QCOMPARE(zoom->text(), QStringLiteral("200"));
    QCOMPARE(s.viewport.cellSize(), 247);

    enter(zoom, QStringLiteral("-250"));
    QCOMPARE(s.viewport.zoom(), -250);
    QCOMPARE(s.viewport.cellSize(), 1);
    leave(zoom);
    QCOMPARE(zoom->text(), QStringLiteral("-200"));
    QCOMPARE(s.viewport.zoom(), -200);

    enter(zoom, QStringLiteral("12"));
    enter(zoom, QStringLiteral("x"));
    QCOMPARE(zoom->text(), QStringLiteral("12"));
    QCOMPARE(s.viewport.cellSize(), 59);
    enter(zoom, QStringLiteral("-"));
    QCOMPARE(s.viewport.zoom(), -200);
    leave(zoom);
    QCOMPARE(zoom->text(), QStringLiteral("-200"));

    // A number too long for an integer is no number either.
    enter(zoom, QStringLiteral("99999999999"));
    QCOMPARE(s.viewport.zoom(), -200);
}

void TestRenderDialogs::typedSizes()
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
    enter(s.dlg.SE_PolickaVyska(), QStringLiteral("7"));
    leave(s.dlg.SE_PolickaVyska());
    QCOMPARE(s.dlg.SE_PolickaVyska()->text(), QStringLiteral("10"));
    QCOMPARE(s.doc.rows(), 10);

    QSpinBox *opacity = s.dlg.SE_Pruhlednost();
    enter(opacity, QStringLiteral("5000"));
    QCOMPARE(opacity->text(), QStringLiteral("255"));
    QCOMPARE(s.state.previewOpacity, 255);
    enter(opacity, QStringLiteral("-"));
    QCOMPARE(opacity->text(), QStringLiteral("20"));
    QCOMPARE(s.state.previewOpacity, 20);
}

void TestRenderDialogs::steppedValues()
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

QTEST_MAIN(TestRenderDialogs)
#include "test_render_dialogs.moc"
