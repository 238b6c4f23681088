#pragma once

#include "analysis/Problems.h"

#include <QWidget>

#include <array>

class QLabel;
class QTreeView;

namespace kalmor {

class LayoutAnalysis;
class ProblemTableModel;
class TextDuplicates;

// The tool window "Kontrola panelu": the number of track circuits and of
// each kind of problem above the list of problems (cell, kind, point,
// text, level): the errors of the layout, then the warnings about plates
// that share a text. Double click or Enter on a row asks to go to its
// cell. It shows the analyses it is given and is told when they changed.
class LayoutCheckWindow : public QWidget {
    Q_OBJECT
public:
    explicit LayoutCheckWindow(const LayoutAnalysis &analysis, const TextDuplicates *duplicates = nullptr,
                               QWidget *parent = nullptr);

    // The analysis changed: counts and list show it, the current row and
    // the scroll position stay where they were as far as they can.
    void showResult();

    QTreeView *list() const { return m_list; }

signals:
    void cellChosen(QPoint cell);

private:
    qsizetype count(ProblemCode code) const;

    const LayoutAnalysis &m_analysis;
    const TextDuplicates *m_duplicates;
    ProblemTableModel *m_model = nullptr;
    QLabel *m_circuits = nullptr;
    std::array<QLabel *, ProblemCodeCount> m_counts{};
    QTreeView *m_list = nullptr;
};

}  // namespace kalmor
