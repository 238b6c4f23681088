#include "wiring/IoPointsWindow.h"

#include "document/StationHistory.h"
#include "document/UserPrompts.h"
#include "wiring/IoPointModel.h"
#include "wiring/WiringEdits.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace kalmor {

namespace {

// Board and pin: up to four digits without a leading zero, or nothing.
class NumberDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor)) {
            line->setObjectName(QStringLiteral("E_Cislo"));
            line->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("([1-9][0-9]{0,3})?")), line));
        }
        return editor;
    }
};

template <class W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

IoPointsWindow::IoPointsWindow(StationHistory &history, UserPrompts &prompts, QWidget *parent)
    : QWidget(parent, Qt::Tool), m_history(history), m_prompts(prompts)
{
    setObjectName(QStringLiteral("VstupniVystupniBody"));
    setWindowTitle(QStringLiteral("Vstupní/výstupní body"));
    resize(780, 480);

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Hledat:"), this));
    m_filter = named(new QLineEdit(this), "E_Filtr");
    m_filter->setClearButtonEnabled(true);
    top->addWidget(m_filter, 1);
    top->addWidget(new QLabel(QStringLiteral("Oblast:"), this));
    m_area = named(new QComboBox(this), "CB_Oblast");
    m_area->setMinimumContentsLength(14);
    top->addWidget(m_area);
    layout->addLayout(top);

    m_model = new IoPointModel(history, this);
    m_table = named(new QTableView(this), "TV_Body");
    m_table->setModel(m_model);
    m_table->setItemDelegate(new NumberDelegate(m_table));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setSortIndicator(IoPointModel::NoSort, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    m_table->horizontalHeader()->setStretchLastSection(true);
    for (const auto &[column, width] : {std::pair(0, 190), std::pair(1, 60), std::pair(2, 110), std::pair(3, 70),
                                        std::pair(4, 110), std::pair(5, 60)})
        m_table->setColumnWidth(column, width);
    layout->addWidget(m_table, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Deska:"), this));
    m_board = named(new QSpinBox(this), "SE_Deska");
    m_board->setRange(MinIoNumber, MaxIoNumber);
    bottom->addWidget(m_board);
    m_assign = named(new QPushButton(QStringLiteral("Přiřadit postupně"), this), "B_PriraditPostupne");
    bottom->addWidget(m_assign);
    bottom->addStretch(1);
    m_count = named(new QLabel(this), "L_PocetBodu");
    bottom->addWidget(m_count);
    m_export = named(new QPushButton(QStringLiteral("Exportovat ..."), this), "B_Exportovat");
    bottom->addWidget(m_export);
    layout->addLayout(bottom);

    connect(m_filter, &QLineEdit::textChanged, this, &IoPointsWindow::filter);
    connect(m_area, &QComboBox::currentIndexChanged, this, &IoPointsWindow::filter);
    connect(m_board, &QSpinBox::valueChanged, this, [this](int board) { m_model->setDefaultBoard(quint16(board)); });
    connect(m_assign, &QPushButton::clicked, this, &IoPointsWindow::assignSelected);
    connect(m_export, &QPushButton::clicked, this, &IoPointsWindow::exportRows);
    connect(m_table, &QTableView::activated, this, [this](const QModelIndex &index) {
        const IoPoint &p = m_model->points().at(m_model->pointAt(index.row()));
        emit cellChosen(QPoint(p.x, p.y));
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, &IoPointsWindow::showCount);
}

void IoPointsWindow::follow()
{
    m_model->follow();
    showAreas();
    showCount();
}

void IoPointsWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    follow();
}

void IoPointsWindow::showAreas()
{
    const std::vector<QString> &names = m_model->points().areaNames();
    const QStringList now(names.begin(), names.end());
    if (now == m_areaNames && m_area->count() > 0)
        return;
    m_areaNames = now;
    const int kept = m_area->currentIndex();
    const QSignalBlocker quiet(m_area);
    m_area->clear();
    m_area->addItem(QStringLiteral("(všechny)"));
    m_area->addItem(QStringLiteral("(mimo oblasti)"));
    m_area->addItems(now);
    m_area->setCurrentIndex(kept >= 0 && kept < m_area->count() ? kept : 0);
    filter();
}

void IoPointsWindow::filter()
{
    const int chosen = m_area->currentIndex();
    const qsizetype area = chosen <= 0 ? IoPointModel::AllAreas : chosen == 1 ? IoPointModel::NoArea : chosen - 2;
    m_model->setFilter(m_filter->text().trimmed(), area);
}

void IoPointsWindow::showCount()
{
    m_count->setText(QStringLiteral("Bodů: %1, zobrazeno: %2").arg(m_model->points().size()).arg(m_model->rowCount()));
}

bool IoPointsWindow::assignSelected()
{
    std::vector<qint32> chosen;
    for (const QItemSelectionRange &range : m_table->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            chosen.push_back(row);
    }
    if (chosen.empty()) {
        m_prompts.inform(QStringLiteral("Vyberte body, kterým se mají přiřadit adresy."));
        return false;
    }
    // Rows in their order, each once, then the points they show.
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    for (qint32 &row : chosen)
        row = m_model->pointAt(row);
    const quint16 board = quint16(m_board->value());
    const IoPoints &points = m_model->points();
    const auto given = assignInOrder(points.points(), chosen, board);
    if (!given) {
        m_prompts.inform(QStringLiteral("Na deskách %1 až %2 nezbývá dost volných pinů pro %3 bodů.")
                             .arg(board)
                             .arg(MaxIoNumber)
                             .arg(chosen.size()));
        return false;
    }
    const std::vector<std::optional<IoAddress>> addresses(given->begin(), given->end());
    m_model->giveAddresses(chosen, addresses, AssignStepName);
    follow();
    return true;
}

bool IoPointsWindow::exportRows()
{
    const std::optional<QString> path = m_prompts.chooseCsvPath(QStringLiteral("Exportovat seznam vodičů"));
    if (!path)
        return false;
    std::vector<qint32> rows(std::size_t(m_model->rowCount()));
    for (int row = 0; row < m_model->rowCount(); ++row)
        rows[std::size_t(row)] = m_model->pointAt(row);
    const QString error = writeTableFile(*path, wireListCsv(m_model->points(), rows));
    if (!error.isEmpty())
        m_prompts.warn(error);
    return error.isEmpty();
}

}  // namespace kalmor
