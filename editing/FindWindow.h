#pragma once

#include "editing/TextSearch.h"

#include <QPoint>
#include <QWidget>

#include <array>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QTreeView;

namespace kalmor {

class HitTableModel;
class StationDocument;

// The tool window "Najít": a search field E_Hledat above the list of hits
// TV_Nalezene (cell, kind, text) of every element with a text. The list
// follows typing and, while the window is open, the edits of the station.
// Enter in the field or on a hit, or a double click on one, asks to go to
// the hit's cell; F3 goes to the next hit. Not modal.
class FindWindow : public QWidget {
    Q_OBJECT
public:
    explicit FindWindow(const StationDocument &doc, QWidget *parent = nullptr);

    QLineEdit *field() const { return m_field; }
    QTreeView *list() const { return m_list; }
    const std::vector<TextHit> &hits() const { return m_hits; }

public slots:
    // "Najít ...": shows the window with its field ready for typing.
    void open();
    // Called on every render tick: an open window shows the station as it
    // is now.
    void followEdits();
    // F3: the hit after the current one (the first after the last).
    void goToNextHit();

signals:
    void cellChosen(QPoint cell);

protected:
    // F3 is the main window's "Zobrazit všechny" too; in this window it
    // goes to the next hit.
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void search();
    void goToHit(int row);
    // The searched lists and their revisions: a hit list searched with
    // other ones is searched again.
    using Searched = std::array<std::pair<const void *, quint64>, 2>;
    Searched searchedRevisions() const
    {
        return {std::pair<const void *, quint64>(&m_doc.plates(), m_doc.plates().revision()),
                std::pair<const void *, quint64>(&m_doc.deskElements(), m_doc.deskElements().revision())};
    }

    const StationDocument &m_doc;
    TextSearch m_search;
    std::vector<TextHit> m_hits;
    HitTableModel *m_model = nullptr;
    QLineEdit *m_field = nullptr;
    QLabel *m_count = nullptr;
    QTreeView *m_list = nullptr;
    Searched m_searched{};
};

}  // namespace kalmor
