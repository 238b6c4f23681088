#pragma once

#include <QPoint>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableView;

namespace kalmor {

class IoPointModel;
class StationHistory;
class UserPrompts;

// The tool window "Vstupní/výstupní body": every I/O point of the station
// in a table that sorts by any column and filters by text and area;
// board and pin are typed in place; "Přiřadit postupně" gives the
// selected rows free pins of the chosen board in their order; "Exportovat
// ..." writes the rows shown as the wire list. Double click or Enter on
// a row asks to go to its element; Esc closes the window.
class IoPointsWindow : public QWidget {
    Q_OBJECT
public:
    IoPointsWindow(StationHistory &history, UserPrompts &prompts, QWidget *parent = nullptr);

    IoPointModel *model() const { return m_model; }
    QTableView *table() const { return m_table; }

    // Shows the station as it is now; called after edits while open.
    void follow();

    // "Přiřadit postupně" and "Exportovat ..."; false when nothing was done.
    bool assignSelected();
    bool exportRows();

signals:
    void cellChosen(QPoint cell);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showAreas();
    void showCount();
    void filter();

    StationHistory &m_history;
    UserPrompts &m_prompts;
    IoPointModel *m_model = nullptr;
    QLineEdit *m_filter = nullptr;
    QComboBox *m_area = nullptr;
    QTableView *m_table = nullptr;
    QSpinBox *m_board = nullptr;
    QPushButton *m_assign = nullptr;
    QPushButton *m_export = nullptr;
    QLabel *m_count = nullptr;
    QStringList m_areaNames;
};

}  // namespace kalmor
