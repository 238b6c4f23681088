#include "wiring/AreasWindow.h"

#include "analysis/PartsList.h"
#include "document/StationHistory.h"
#include "document/UserPrompts.h"
#include "wiring/WiringEdits.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QValidator>
#include <QVBoxLayout>

#include <limits>
#include <set>

namespace kalmor {

namespace {

std::vector<quint64> revisionsOf(const StationData &doc)
{
    return {doc.tiles.revision(), doc.lamps.revision(), doc.plates.revision(), doc.areas.revision()};
}

// Refuses at typing what the file could not hold; an empty name cannot
// be taken.
class AreaNameValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        if (input.isEmpty())
            return Intermediate;
        return isAreaName(input) ? Acceptable : Invalid;
    }
};

class NameDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor)) {
            line->setObjectName(QStringLiteral("E_NazevOblasti"));
            line->setValidator(new AreaNameValidator(line));
        }
        return editor;
    }
};

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

}  // namespace

AreaModel::AreaModel(StationHistory &history, QObject *parent) : QAbstractTableModel(parent), m_history(history) {}

void AreaModel::follow()
{
    const StationData &doc = m_history.document().data();
    std::vector<quint64> now = revisionsOf(doc);
    if (m_identity == &doc && now == m_revisions)
        return;
    m_identity = &doc;
    m_revisions = std::move(now);
    beginResetModel();
    m_areas.assign(doc.areas.begin(), doc.areas.end());
    m_elements.assign(m_areas.size(), 0);
    if (!m_areas.empty()) {
        forEachElement(doc, [this](const auto &r) {
            for (std::size_t a = 0; a < m_areas.size(); ++a)
                m_elements[a] += m_areas[a].contains(r.X, r.Y);
        });
    }
    endResetModel();
}

int AreaModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_areas.size());
}

int AreaModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant AreaModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const TOblast &a = m_areas[std::size_t(index.row())];
    switch (index.column()) {
    case Name: return a.NAME;
    case Cell: return QStringLiteral("%1, %2").arg(a.X).arg(a.Y);
    case Size: return QStringLiteral("%1 × %2").arg(a.SIRKA).arg(a.VYSKA);
    case Elements: return QString::number(m_elements[std::size_t(index.row())]);
    default: return {};
    }
}

QVariant AreaModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const std::array<QString, ColumnCount> Captions{QStringLiteral("Název"), QStringLiteral("Políčko"),
                                                           QStringLiteral("Velikost"), QStringLiteral("Prvků")};
    return section >= 0 && section < ColumnCount ? Captions[std::size_t(section)] : QVariant();
}

Qt::ItemFlags AreaModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == Name)
        f |= Qt::ItemIsEditable;
    return f;
}

bool AreaModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const QString name = value.toString();
    if (role != Qt::EditRole || !index.isValid() || index.column() != Name || !isAreaName(name))
        return false;
    renameArea(m_history, index.row(), name);
    follow();
    return true;
}

AreasWindow::AreasWindow(StationHistory &history, UserPrompts &prompts, AreaWindowHooks hooks, QWidget *parent)
    : QWidget(parent, Qt::Tool), m_history(history), m_prompts(prompts), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("Oblasti"));
    setWindowTitle(QStringLiteral("Oblasti"));
    resize(600, 320);
    auto *layout = new QHBoxLayout(this);
    m_model = new AreaModel(history, this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("TV_Oblasti"));
    m_table->setModel(m_model);
    m_table->setItemDelegate(new NameDelegate(m_table));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(AreaModel::Name, 170);
    m_table->setColumnWidth(AreaModel::Cell, 80);
    m_table->setColumnWidth(AreaModel::Size, 80);
    layout->addWidget(m_table, 1);
    auto *buttons = new QVBoxLayout;
    const auto add = [&](const char *name, const QString &caption, void (AreasWindow::*slot)()) {
        QPushButton *b = button(this, name, caption);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    };
    add("B_PridatZVyberu", QStringLiteral("Přidat z výběru"), &AreasWindow::addFromSelection);
    add("B_SmazatOblast", QStringLiteral("Smazat"), &AreasWindow::deleteChosen);
    add("B_ZobrazitOblast", QStringLiteral("Zobrazit"), &AreasWindow::showChosen);
    add("B_VybratOblast", QStringLiteral("Vybrat"), &AreasWindow::selectChosen);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(m_table, &QTableView::activated, this, &AreasWindow::showChosen);
}

void AreasWindow::follow()
{
    const int row = m_table->currentIndex().row();
    m_model->follow();
    if (row >= 0 && m_model->rowCount() > 0 && !m_table->currentIndex().isValid())
        m_table->setCurrentIndex(m_model->index(std::min(row, m_model->rowCount() - 1), 0));
}

void AreasWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    follow();
}

std::optional<TOblast> AreasWindow::current() const
{
    const int row = m_table->currentIndex().row();
    const auto &areas = m_history.document().areas();
    if (row < 0 || row >= areas.count())
        return std::nullopt;
    return areas.at(row);
}

void AreasWindow::addFromSelection()
{
    const CellRect cells = m_hooks.selection();
    if (cells.isEmpty()) {
        m_prompts.inform(QStringLiteral("Nejdříve vyberte na panelu políčka oblasti."));
        return;
    }
    addArea(m_history, TOblast{cells.left, cells.top, cells.right - cells.left + 1, cells.bottom - cells.top + 1,
                               freeAreaName(m_history.document().data())});
    follow();
    const QModelIndex name = m_model->index(m_model->rowCount() - 1, AreaModel::Name);
    m_table->setCurrentIndex(name);
    m_table->edit(name);
}

void AreasWindow::deleteChosen()
{
    std::set<qint32> rows;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        rows.insert(index.row());
    if (rows.empty() && m_table->currentIndex().isValid())
        rows.insert(m_table->currentIndex().row());
    if (rows.empty())
        return;
    deleteAreas(m_history, std::vector<qint32>(rows.begin(), rows.end()));
    follow();
}

void AreasWindow::showChosen()
{
    if (const auto area = current())
        m_hooks.centre(QPoint(area->X + std::max(0, area->SIRKA - 1) / 2, area->Y + std::max(0, area->VYSKA - 1) / 2));
}

void AreasWindow::selectChosen()
{
    const auto area = current();
    if (!area || area->SIRKA <= 0 || area->VYSKA <= 0)
        return;
    // An area read from a file may reach past the 32-bit range.
    const auto last = [](qint32 from, qint32 size) {
        return qint32(std::min<qint64>(qint64(from) + size - 1, std::numeric_limits<qint32>::max()));
    };
    m_hooks.select(CellRect{area->X, area->Y, last(area->X, area->SIRKA), last(area->Y, area->VYSKA)});
}

}  // namespace kalmor
