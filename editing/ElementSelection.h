#pragma once

#include "editing/CornerDivisionPage.h"

#include <QObject>
#include <QString>

#include <optional>

class QAction;
class QLabel;
class QTabWidget;

namespace kalmor {

class AssortmentImage;
class AssortmentView;
class TPaleta;

// The controls the selection works on; all owned by the main window.
struct SelectionWidgets {
    AssortmentView *mainAssortment = nullptr;   // PC_Sortiment on P_Sortiment
    TPaleta *palette = nullptr;                 // Paleta
    QLabel *chosenKindLabel = nullptr;          // L_ZvolenaSoucast
    CornerDivisionPage *cornerPage = nullptr;   // content of SH_DeleniKO
    QTabWidget *leftPanel = nullptr;            // PC_Nastaveni
    QWidget *cornerTab = nullptr;               // page SH_DeleniKO of PC_Nastaveni
    QWidget *lampTab = nullptr;                 // page SH_ZarovkyL
    QWidget *labelTab = nullptr;                // page SH_PopiskyL
    QAction *assortmentAction = nullptr;        // MP_Sortiment
    QAction *dockAction = nullptr;              // MP_UkotvitPanelSortiment
    QWidget *dockedPanel = nullptr;             // P_Sortiment
};

// Chooses the element kind to insert: image clicks and page changes of
// both assortments, the selection frames, the palette's anchor and close
// reaction, and the synchronisation that every docking or visibility
// change of the assortment ends with. Connects itself to the views'
// signals and the palette's anchorClicked/closed.
//
// The left panel's pages lose their tabs with QTabWidget::setTabVisible;
// when no page belongs to the page in front, the page area (the tab
// widget's stacked widget) is hidden as well, so the left panel shows
// nothing, and shown again with the next page.
class ElementSelection : public QObject {
    Q_OBJECT
public:
    explicit ElementSelection(const SelectionWidgets &widgets, QObject *parent = nullptr);

    const QString &currentKind() const { return m_kind; }

    // Kind := image's objectName, caption, picture copy, corner preset.
    void chooseKind(const AssortmentImage &image);
    // Moves the palette's frames around one of its images.
    void NastaveniRamecku(const AssortmentImage &image);
    // Chooses a kind of the catalogue exactly as the user would with a
    // click on its picture where the assortment is shown: the palette's
    // page while it floats, else the main window's page, brought to the
    // front first with the page change's own rules. False for a name that
    // is no kind of the catalogue; nothing changes then.
    bool chooseKindByName(const QString &kind);

    // A save hides and shows every tool panel, which synchronises the
    // assortments; the kind and the corner-division boxes the user chose
    // are kept over it and given back afterwards.
    void keepChoice();
    void restoreKeptChoice();

public slots:
    void mainImageClick(kalmor::AssortmentImage *image);
    void paletteImageClick(kalmor::AssortmentImage *image);
    void mainPageChange(int index);
    void palettePageChange(int index);
    // Both assortments to "Přímé koleje" and the kind KOL_sLSPS.
    void synchronise();
    // The palette's B_Kotva: close, dock, synchronise.
    void paletteAnchor();
    // Runs on every close of the palette window.
    void paletteClosed();

signals:
    void currentKindChanged(const QString &kind);

private:
    void moveMainFramesLeft(int left);
    void showLeftPage(QWidget *page);

    SelectionWidgets m_w;
    QString m_kind = QStringLiteral("KOL_sLSPS");
    struct Choice {
        QString kind;
        CornerDivisionPage::Boxes boxes;
    };
    std::optional<Choice> m_kept;
};

}  // namespace kalmor
