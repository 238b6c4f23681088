#include "editing/FindWindow.h"

#include "document/StationDocument.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace kalmor {

// The hits as rows; a row reads its plate when shown, so a list of
// hundreds of thousands costs only the rows on screen.
class HitTableModel : public QAbstractTableModel {
public:
    HitTableModel(const StationDocument &doc, const std::vector<TextHit> &hits, QObject *parent)
        : QAbstractTableModel(parent), m_doc(doc), m_hits(hits)
    {
    }

    void reset()
    {
        beginResetModel();
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_hits.size()); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 3; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const TextHit &hit = m_hits[std::size_t(index.row())];
        if (index.column() == 0)
            return QStringLiteral("%1, %2").arg(hit.cell.x()).arg(hit.cell.y());
        // The lists are searched again at the next tick after an edit.
        const auto show = [&](const auto &list) -> QVariant {
            if (hit.position >= list.count())
                return {};
            const auto &r = list.at(hit.position);
            return index.column() == 1 ? r.NAME : r.TEXT;
        };
        return hit.desk ? show(m_doc.deskElements()) : show(m_doc.plates());
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static const std::array<QString, 3> Captions{QStringLiteral("Políčko"), QStringLiteral("Prvek"),
                                                     QStringLiteral("Text")};
        return Captions[std::size_t(section)];
    }

private:
    const StationDocument &m_doc;
    const std::vector<TextHit> &m_hits;
};

FindWindow::FindWindow(const StationDocument &doc, QWidget *parent) : QWidget(parent, Qt::Tool), m_doc(doc)
{
    setObjectName(QStringLiteral("FindWindow"));
    setWindowTitle(QStringLiteral("Najít"));
    resize(420, 360);

    auto *layout = new QVBoxLayout(this);
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("E_Hledat"));
    m_field->setClearButtonEnabled(true);
    layout->addWidget(m_field);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("L_Nalezeno"));
    layout->addWidget(m_count);
    m_model = new HitTableModel(doc, m_hits, this);
    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("TV_Nalezene"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->setModel(m_model);
    m_list->header()->resizeSection(0, 80);
    m_list->header()->resizeSection(1, 140);
    layout->addWidget(m_list, 1);

    connect(m_field, &QLineEdit::textChanged, this, &FindWindow::search);
    connect(m_field, &QLineEdit::returnPressed, this, [this] {
        goToHit(std::max(0, m_list->currentIndex().row()));
    });
    // Enter and a double click activate a row.
    connect(m_list, &QTreeView::activated, this, [this](const QModelIndex &index) { goToHit(index.row()); });
    search();
}

bool FindWindow::event(QEvent *event)
{
    // Kept from the shortcut map: the key then comes here as a key press.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F3 && key->modifiers() == Qt::NoModifier) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void FindWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F3 && event->modifiers() == Qt::NoModifier) {
        goToNextHit();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FindWindow::open()
{
    show();
    raise();
    activateWindow();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
    followEdits();
}

void FindWindow::followEdits()
{
    if (isVisible() && searchedRevisions() != m_searched)
        search();
}

void FindWindow::search()
{
    // The current hit stays current when it is still found.
    const int row = m_list->currentIndex().row();
    const TextHit current = row >= 0 && row < int(m_hits.size()) ? m_hits[std::size_t(row)] : TextHit{{}, -1};
    m_hits = m_search.search(m_doc.data(), TextNeedle(m_field->text()));
    m_searched = searchedRevisions();
    m_model->reset();
    m_count->setText(QStringLiteral("Nalezeno: %1").arg(m_hits.size()));
    if (m_hits.empty())
        return;
    const auto kept = std::find_if(m_hits.cbegin(), m_hits.cend(),
                                   [current](const TextHit &h) {
                                       return h.position == current.position && h.desk == current.desk;
                                   });
    m_list->setCurrentIndex(m_model->index(kept != m_hits.cend() ? int(kept - m_hits.cbegin()) : 0, 0));
}

void FindWindow::goToHit(int row)
{
    if (row < 0 || row >= int(m_hits.size()))
        return;
    m_list->setCurrentIndex(m_model->index(row, 0));
    emit cellChosen(m_hits[std::size_t(row)].cell);
}

void FindWindow::goToNextHit()
{
    if (m_hits.empty())
        return;
    const int row = m_list->currentIndex().row();
    goToHit(row < 0 ? 0 : (row + 1) % int(m_hits.size()));
}

}  // namespace kalmor
