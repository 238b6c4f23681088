#pragma once

#include <QDialog>
#include <QImage>

class QLabel;
class QWidget;

namespace kalmor {

class X_Plocha;

// "Náhled panelu": a still 1:1 copy of the panel's top-left corner as the
// last frame composed it, whatever the work area's scroll position.
class TNahledPanelu : public QDialog {
    Q_OBJECT
public:
    static constexpr int PictureWidth = 665;
    static constexpr int PictureHeight = 417;

    explicit TNahledPanelu(X_Plocha &surface, QWidget *parent = nullptr);

    // MS_NahledPaneluClick: copy, then show modally.
    void copyAndShow();
    // The copy alone: surface pixels (0, 0) up to the picture's size land in
    // the kept bitmap; parts the surface does not reach keep what they held.
    void copyFromSurface();

    const QImage &picture() const { return m_picture; }

private:
    X_Plocha &m_surface;
    QImage m_picture;
    QLabel *m_zoomScreen = nullptr;
    QWidget *m_toolStrip = nullptr;
};

}  // namespace kalmor
