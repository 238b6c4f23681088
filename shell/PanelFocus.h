#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace kalmor {

class DocumentLifecycle;
class WorkArea;

// Gives the drawing surface the keyboard focus wherever the user expects
// the view and editing keys (End, PageDown, the arrows) to act at once,
// without a click on the panel that would place or remove an element:
// when the main window is first shown, after Open and New, after a click
// on a scroll bar, and when a dialog, tool window or other window of the
// main window (the guide) closes.
class PanelFocus : public QObject {
    Q_OBJECT
public:
    PanelFocus(QWidget *mainWindow, WorkArea *workArea, const DocumentLifecycle &lifecycle);

public slots:
    // The surface takes the focus, unless a modal window is still up.
    void focusPanel();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isOwnWindow(const QWidget *window) const;

    QWidget *m_main;
    QPointer<QWidget> m_surface;
};

}  // namespace kalmor
