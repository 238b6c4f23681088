#pragma once

#include <QWidget>

class QTextBrowser;

namespace kalmor {

class ImageSet;
struct MainMenu;

// "Nápověda" > "Příručka" (F1): the user guide in a window of its own,
// beside the editor rather than over it, closed with its close box or Esc.
// The sections are the files of :/guide in the order of their names, each
// opening with <h2 id="...">; the window puts a list of contents before
// them and a table of every shortcut of the menus after them, so a new
// command's key is listed as soon as its menu entry exists. Pictures come
// from the example station, drawn when the guide is first shown.
class UserGuide : public QWidget {
    Q_OBJECT
public:
    // examplePath: the example station the pictures are drawn from; the
    // guide goes without pictures when it cannot be read.
    UserGuide(const MainMenu &menu, const ImageSet &images, QString examplePath, QWidget *parent = nullptr);

    QTextBrowser *text() const { return m_text; }
    // Shows the guide (made at the first showing) and brings it forward.
    void showGuide();

private:
    void build();

    const MainMenu &m_menu;
    const ImageSet &m_images;
    QString m_examplePath;
    QTextBrowser *m_text = nullptr;
    bool m_built = false;
};

// The guide's text: contents, the sections, the shortcut table.
QString userGuideHtml(const MainMenu &menu);

}  // namespace kalmor
