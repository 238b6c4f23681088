#pragma once

#include <QIcon>
#include <QPixmap>

class QWidget;

namespace kalmor {

enum class GlyphKind { New, Save, SaveAs, Open, Undo, Redo, Anchor };
QIcon glyph(GlyphKind kind);

// The start-up picture, decoded from its JPEG.
QPixmap starterPicture();

// Image1, Label1 "Kalmor" and Label2 "0.6" over it: the face shared by
// the splash window and the about window.
void addStarterFace(QWidget *window);

}  // namespace kalmor
