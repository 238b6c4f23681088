#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace kalmor {

// Types the text into the widget key by key. QTest::keyClicks takes
// Latin-1 only; other characters (Czech letters, arrows) come as key
// texts.
inline void typeText(QWidget *w, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

}  // namespace kalmor
