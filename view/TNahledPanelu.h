#pragma once

#include <QDialog>
#include <QImage>

class QLabel;
class QScrollArea;
class QSpinBox;
class QTimer;
class QWidget;

namespace kalmor {

class X_Plocha;

// "Náhled panelu": the whole applied panel as one picture, scaled to fit
// the picture area, or at the scale the zoom field gives in percent of the
// work area's (0 fits). A click on the picture closes the window and
// centres the work area on the point clicked. The picture is composed
// afresh at its own resolution for every showing, so a panel of 4000 x
// 4000 cells costs the picture's pixels, not the panel's.
class TNahledPanelu : public QDialog {
    Q_OBJECT
public:
    // A picture beyond this many pixels is made smaller than asked.
    static constexpr qint64 MaxPicturePixels = qint64(8) << 20;
    static constexpr int MaxZoomPercent = 400;

    explicit TNahledPanelu(X_Plocha &surface, QWidget *parent = nullptr);

    // MS_NahledPaneluClick: compose, then show modally.
    void copyAndShow();
    // Composes the picture for the zoom field and the picture area now.
    void composePicture();

    const QImage &picture() const { return m_picture; }
    // Picture pixels per pixel of the work area's surface.
    double scale() const { return m_scale; }
    QSpinBox *zoomField() const { return m_zoom; }  // SpinEdit1
    QScrollArea *pictureArea() const { return m_area; }

    // A click at a point of the picture: close, centre the work area there.
    void pictureClicked(QPoint at);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    double scaleFor(QSize surface) const;

    X_Plocha &m_surface;
    QImage m_picture;
    double m_scale = 1.0;
    QScrollArea *m_area = nullptr;
    QLabel *m_zoomScreen = nullptr;
    QWidget *m_toolStrip = nullptr;
    QSpinBox *m_zoom = nullptr;
    QTimer *m_recompose = nullptr;
};

}  // namespace kalmor
