#pragma once

#include <QSize>
#include <QWidget>

#include <functional>

class QComboBox;

namespace kalmor {

class SpinEdit;

// Content of the left panel's page SH_ZarovkyL "Žárovky": the offsets the
// next lamp takes and two alignment lists that compute them from the cell
// size. The lists act only when the user picks an item.
class LampPropertiesPage : public QWidget {
    Q_OBJECT
public:
    // cellSize: the current cell width = height in pixels.
    explicit LampPropertiesPage(std::function<int()> cellSize, QWidget *parent = nullptr);

    // Size of the picture ZAR_CE_ZH, used for all four lamps; taken from
    // the picture itself (16 x 15).
    void setLampImageSize(QSize size) { m_lampSize = size; }
    QSize lampImageSize() const { return m_lampSize; }

    // Values the next lamp placement takes: the fields' values, always
    // within 0 to 47, whatever is being typed.
    qint32 offsetX() const;
    qint32 offsetY() const;

    // Applies both lists, vertical then horizontal, through the spin edits.
    void applyAlignment();
    // Takes a placed lamp's offsets, through the spin edits.
    void setOffsets(qint32 x, qint32 y);

    QComboBox *verticalList() const { return m_vertical; }     // CB_ZAR_ZarovnaniSvisle
    QComboBox *horizontalList() const { return m_horizontal; } // CB_ZAR_ZarovnaniVodorovne
    SpinEdit *offsetXEdit() const { return m_offsetX; }        // SE_ZAR_OdsazeniX
    SpinEdit *offsetYEdit() const { return m_offsetY; }        // SE_ZAR_OdsazeniY

signals:
    void offsetsChanged();

private:
    std::function<int()> m_cellSize;
    QSize m_lampSize{16, 15};
    QComboBox *m_vertical = nullptr;
    QComboBox *m_horizontal = nullptr;
    SpinEdit *m_offsetX = nullptr;
    SpinEdit *m_offsetY = nullptr;
};

}  // namespace kalmor
