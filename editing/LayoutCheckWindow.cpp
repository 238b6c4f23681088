#include "editing/LayoutCheckWindow.h"

#include "analysis/LayoutAnalysis.h"

#include <QAbstractTableModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace kalmor {

// The problems of the analysis as rows; it reads them when asked, so a
// list of millions costs only the rows on screen.
class ProblemTableModel : public QAbstractTableModel {
public:
    explicit ProblemTableModel(const LayoutAnalysis &analysis, QObject *parent)
        : QAbstractTableModel(parent), m_analysis(analysis)
    {
    }

    void reset()
    {
        beginResetModel();
        endResetModel();
    }

    const Problem &problem(int row) const { return m_analysis.problems().at(row); }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_analysis.problems().size());
    }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 4; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const Problem &p = problem(index.row());
        switch (index.column()) {
        case 0: return QStringLiteral("%1, %2").arg(p.x).arg(p.y);
        case 1: return m_analysis.kindName(p.kind);
        case 2: return problemPointText(p, m_analysis.kindName(p.kind));
        default: return problemDescription(p.code);
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static const std::array<QString, 4> Captions{QStringLiteral("Políčko"), QStringLiteral("Prvek"),
                                                     QStringLiteral("Bod"), QStringLiteral("Problém")};
        return Captions[std::size_t(section)];
    }

private:
    const LayoutAnalysis &m_analysis;
};

namespace {

constexpr std::array<const char *, ProblemCodeCount> CountNames{
    "L_OblastMimoPanel", "L_NesouhlasneDeleni", "L_DuplicitniAdresa", "L_ChybiAdresa",
    "L_KonecKoleje",     "L_MimoPanel",         "L_VicePrvku",        "L_NeznamyDruh"};

}  // namespace

LayoutCheckWindow::LayoutCheckWindow(const LayoutAnalysis &analysis, QWidget *parent)
    : QWidget(parent, Qt::Tool), m_analysis(analysis)
{
    setObjectName(QStringLiteral("LayoutCheckWindow"));
    setWindowTitle(QStringLiteral("Kontrola panelu"));
    resize(620, 420);

    auto *layout = new QVBoxLayout(this);
    auto *counts = new QGridLayout;
    m_circuits = new QLabel(this);
    m_circuits->setObjectName(QStringLiteral("L_PocetObvodu"));
    counts->addWidget(m_circuits, 0, 0);
    // Open ends first: they are what a check is run for.
    constexpr std::array<ProblemCode, ProblemCodeCount> Shown{
        ProblemCode::OpenEnd,     ProblemCode::DivisionMismatch, ProblemCode::Stacked,   ProblemCode::OutsidePanel,
        ProblemCode::UnknownKind, ProblemCode::IoDuplicate,      ProblemCode::IoMissing, ProblemCode::AreaOutside};
    for (std::size_t i = 0; i < Shown.size(); ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QLatin1String(CountNames[std::size_t(Shown[i])]));
        m_counts[std::size_t(Shown[i])] = label;
        counts->addWidget(label, int(i + 1) / 2, int(i + 1) % 2);
    }
    layout->addLayout(counts);

    m_model = new ProblemTableModel(analysis, this);
    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("TV_Problemy"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->setModel(m_model);
    m_list->header()->resizeSection(0, 90);
    m_list->header()->resizeSection(1, 190);
    m_list->header()->resizeSection(2, 50);
    layout->addWidget(m_list, 1);
    // Enter and a double click activate a row.
    connect(m_list, &QTreeView::activated, this, [this](const QModelIndex &index) {
        const Problem &p = m_model->problem(index.row());
        emit cellChosen(QPoint(p.x, p.y));
    });
    showResult();
}

void LayoutCheckWindow::showResult()
{
    m_circuits->setText(QStringLiteral("Kolejové obvody: %1").arg(m_analysis.circuitCount()));
    for (const ProblemCode code : AllProblemCodes) {
        m_counts[std::size_t(code)]->setText(
            QStringLiteral("%1: %2").arg(problemDescription(code)).arg(m_analysis.problems().count(code)));
    }
    const int row = m_list->currentIndex().row();
    const int scrolled = m_list->verticalScrollBar()->value();
    m_model->reset();
    const int rows = m_model->rowCount();
    if (row >= 0 && rows > 0)
        m_list->setCurrentIndex(m_model->index(std::min(row, rows - 1), 0));
    m_list->verticalScrollBar()->setValue(scrolled);
}

}  // namespace kalmor
