#include "editing/LayoutCheckWindow.h"

#include "analysis/LayoutAnalysis.h"
#include "analysis/TextDuplicates.h"

#include <QAbstractTableModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace kalmor {

// The problems of the analyses as rows, the layout's then the shared
// texts'; it reads them when asked, so a list of millions costs only the
// rows on screen.
class ProblemTableModel : public QAbstractTableModel {
public:
    ProblemTableModel(const LayoutAnalysis &analysis, const TextDuplicates *duplicates, QObject *parent)
        : QAbstractTableModel(parent), m_analysis(analysis), m_duplicates(duplicates)
    {
    }

    void reset()
    {
        beginResetModel();
        endResetModel();
    }

    const Problem &problem(int row) const
    {
        const qsizetype layout = m_analysis.problems().size();
        return row < layout ? m_analysis.problems().at(row) : m_duplicates->problems().at(row - layout);
    }
    const QString &kindName(int row) const
    {
        const Problem &p = problem(row);
        return row < m_analysis.problems().size() ? m_analysis.kindName(p.kind) : m_duplicates->kindName(p.kind);
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        if (parent.isValid())
            return 0;
        return int(m_analysis.problems().size() + (m_duplicates ? m_duplicates->problems().size() : 0));
    }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 5; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const Problem &p = problem(index.row());
        switch (index.column()) {
        case 0: return QStringLiteral("%1, %2").arg(p.x).arg(p.y);
        case 1: return kindName(index.row());
        case 2: return problemPointText(p, kindName(index.row()));
        case 3: return problemDescription(p.code);
        default:
            return problemLevel(p.code) == ProblemLevel::Warning ? QStringLiteral("varování")
                                                                 : QStringLiteral("chyba");
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static const std::array<QString, 5> Captions{QStringLiteral("Políčko"), QStringLiteral("Prvek"),
                                                     QStringLiteral("Bod"), QStringLiteral("Problém"),
                                                     QStringLiteral("Závažnost")};
        return Captions[std::size_t(section)];
    }

private:
    const LayoutAnalysis &m_analysis;
    const TextDuplicates *m_duplicates;
};

namespace {

constexpr std::array<const char *, ProblemCodeCount> CountNames{
    "L_OblastMimoPanel", "L_NesouhlasneDeleni", "L_StejnyText",          "L_DuplicitniAdresa",
    "L_ChybiAdresa",     "L_BezOznaceni",       "L_KonecKoleje",         "L_MimoPanel",
    "L_NavestidloBezKoleje", "L_VicePrvku",     "L_NeznamyDruh"};

}  // namespace

LayoutCheckWindow::LayoutCheckWindow(const LayoutAnalysis &analysis, const TextDuplicates *duplicates,
                                     QWidget *parent)
    : QWidget(parent, Qt::Tool), m_analysis(analysis), m_duplicates(duplicates)
{
    setObjectName(QStringLiteral("LayoutCheckWindow"));
    setWindowTitle(QStringLiteral("Kontrola panelu"));
    resize(680, 420);

    auto *layout = new QVBoxLayout(this);
    auto *counts = new QGridLayout;
    m_circuits = new QLabel(this);
    m_circuits->setObjectName(QStringLiteral("L_PocetObvodu"));
    counts->addWidget(m_circuits, 0, 0);
    // Open ends first: they are what a check is run for; the warnings last.
    constexpr std::array<ProblemCode, ProblemCodeCount> Shown{
        ProblemCode::OpenEnd,            ProblemCode::DivisionMismatch, ProblemCode::Stacked,
        ProblemCode::OutsidePanel,       ProblemCode::UnknownKind,      ProblemCode::IoDuplicate,
        ProblemCode::DuplicateText,      ProblemCode::SignalWithoutTrack, ProblemCode::NoDesignation,
        ProblemCode::IoMissing,          ProblemCode::AreaOutside};
    for (std::size_t i = 0; i < Shown.size(); ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QLatin1String(CountNames[std::size_t(Shown[i])]));
        m_counts[std::size_t(Shown[i])] = label;
        counts->addWidget(label, int(i + 1) / 2, int(i + 1) % 2);
    }
    layout->addLayout(counts);

    m_model = new ProblemTableModel(analysis, duplicates, this);
    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("TV_Problemy"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->setModel(m_model);
    m_list->header()->resizeSection(0, 90);
    m_list->header()->resizeSection(1, 190);
    m_list->header()->resizeSection(2, 50);
    m_list->header()->resizeSection(3, 230);
    layout->addWidget(m_list, 1);
    // Enter and a double click activate a row.
    connect(m_list, &QTreeView::activated, this, [this](const QModelIndex &index) {
        const Problem &p = m_model->problem(index.row());
        emit cellChosen(QPoint(p.x, p.y));
    });
    showResult();
}

qsizetype LayoutCheckWindow::count(ProblemCode code) const
{
    return m_analysis.problems().count(code) + (m_duplicates ? m_duplicates->problems().count(code) : 0);
}

void LayoutCheckWindow::showResult()
{
    m_circuits->setText(QStringLiteral("Kolejové obvody: %1").arg(m_analysis.circuitCount()));
    for (const ProblemCode code : AllProblemCodes) {
        m_counts[std::size_t(code)]->setText(
            QStringLiteral("%1: %2").arg(problemDescription(code)).arg(count(code)));
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
