#pragma once

#include "document/Records.h"
#include "render/FrameInputs.h"

#include <QAbstractTableModel>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QPushButton;
class QTableView;

namespace kalmor {

class StationHistory;
class UserPrompts;

// The areas as rows: name (edited in place), top-left cell, size and the
// number of elements standing in the area.
class AreaModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name, Cell, Size, Elements, ColumnCount };

    explicit AreaModel(StationHistory &history, QObject *parent = nullptr);

    // Reads the areas and counts the elements again when the station changed.
    void follow();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // A new name, one step of the history; a name the file could not hold
    // is refused.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    StationHistory &m_history;
    std::vector<TOblast> m_areas;
    std::vector<qsizetype> m_elements;
    std::vector<quint64> m_revisions;
    const void *m_identity = nullptr;
};

// What the areas window needs of the editor around it.
struct AreaWindowHooks {
    std::function<CellRect()> selection;            // the selected cells
    std::function<void(const CellRect &)> select;   // selects cells
    std::function<void(QPoint)> centre;             // centres the view on a cell
};

// The tool window "Oblasti": the areas of the station; "Přidat z výběru"
// makes an area of the selected cells, "Smazat" deletes the chosen
// areas, "Zobrazit" centres the view on one and "Vybrat" selects its
// cells; a double click on a name renames the area. Every change is one
// step of the history. Esc closes the window.
class AreasWindow : public QWidget {
    Q_OBJECT
public:
    AreasWindow(StationHistory &history, UserPrompts &prompts, AreaWindowHooks hooks, QWidget *parent = nullptr);

    AreaModel *model() const { return m_model; }
    QTableView *table() const { return m_table; }

    void follow();

    void addFromSelection();
    void deleteChosen();
    void showChosen();
    void selectChosen();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The area of the current row, if any.
    std::optional<TOblast> current() const;

    StationHistory &m_history;
    UserPrompts &m_prompts;
    AreaWindowHooks m_hooks;
    AreaModel *m_model = nullptr;
    QTableView *m_table = nullptr;
};

}  // namespace kalmor
