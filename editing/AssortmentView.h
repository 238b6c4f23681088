#pragma once

#include "catalogue/Assortment.h"

#include <QLabel>
#include <QTabWidget>

#include <vector>

namespace kalmor {

// One clickable picture of an assortment page; its objectName is the kind
// it offers.
class AssortmentImage : public QLabel {
    Q_OBJECT
public:
    AssortmentImage(const QString &kind, QWidget *parent);

signals:
    void clicked(kalmor::AssortmentImage *image);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

// The 55 x 55 outline around the chosen image of a page. Mouse clicks go
// through it to the image beneath.
class SelectionFrame : public QWidget {
    Q_OBJECT
public:
    SelectionFrame(const QString &objectName, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// An assortment page control PC_Sortiment: the main window's nine pages in
// one row each, or the palette's eight pages in rows.
//
// Pages changed by the user (tab click, keyboard) are reported by
// pageChangedByUser; bringing a page to the front from code goes through
// bringToFront(), which reports nothing. Do not call setCurrentIndex()
// directly from code that must not run the page-change rules.
class AssortmentView : public QTabWidget {
    Q_OBJECT
public:
    enum class Layout { Main, Palette };

    explicit AssortmentView(Layout layout, QWidget *parent = nullptr);

    Layout layout() const { return m_layout; }
    std::span<const AssortmentPage> pages() const;

    // The image of a kind on this view's pages, nullptr when none.
    AssortmentImage *image(const QString &kind) const;
    // All selection frames (six in the main window, five in the palette).
    const std::vector<SelectionFrame *> &frames() const { return m_frames; }
    // The frame of the page at index, nullptr on an empty page.
    SelectionFrame *frameOfPage(int index) const;

    // Brings a page to the front without reporting a user page change.
    void bringToFront(int index);
    void bringToFront(QStringView pageObjectName);

signals:
    void imageClicked(kalmor::AssortmentImage *image);
    void pageChangedByUser(int index);

private:
    void buildPage(const AssortmentPage &page);

    Layout m_layout;
    std::vector<AssortmentImage *> m_images;
    std::vector<SelectionFrame *> m_frames;
    std::vector<SelectionFrame *> m_pageFrames;  // per page, nullptr when none
    bool m_quiet = false;
};

}  // namespace kalmor
