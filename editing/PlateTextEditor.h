#pragma once

#include "catalogue/ElementKinds.h"
#include "editing/TextHolder.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>

class QLineEdit;
class QWidget;

namespace kalmor {

class StationHistory;
class UserPrompts;

// The small editor a double click opens over a plate or a desk element: a
// field over the element's cell holding its text (a desk element's
// designation). Enter (or leaving the field) writes the text into the
// element as one step of the history; Esc leaves it as it was. Text the
// station file could not hold is refused as it is typed.
class PlateTextEditor : public QObject {
    Q_OBJECT
public:
    // surface: the drawing surface, whose pixels are panel pixels; the
    // field is its child. cellSize: the current cell size in pixels.
    PlateTextEditor(StationHistory &history, QWidget *surface, std::function<int()> cellSize,
                    UserPrompts *prompts, QObject *parent = nullptr);

    // Opens the editor over the element textHolderAt names for the cell and
    // the current kind's class; nothing happens where there is none.
    void edit(QPoint cell, kalmor::ElementClass current = kalmor::ElementClass::None);
    bool isOpen() const;
    QLineEdit *field() const { return m_field; }

    void keep();
    void cancel();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void close();

    StationHistory &m_history;
    QPointer<QWidget> m_surface;
    std::function<int()> m_cellSize;
    QLineEdit *m_field = nullptr;
    QPoint m_cell;
    TextList m_list = TextList::Plates;
    bool m_open = false;
};

}  // namespace kalmor
