#pragma once

// What the shell suites share: finding controls, answering modal boxes,
// stepping the splash to its hand-over.
#include "shell/Application.h"
#include "shell/QtPrompts.h"
#include "shell/TPanelVaxel.h"
#include "shell/TStarter.h"
#include "support/PinnedFont.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

namespace kalmor::shelltest {

// Before a shell suite's first window: Qt's own texts in Czech, and the
// face the widgets are measured with.
inline void setUpShellSuite()
{
    QVERIFY(installCzechQtTranslation(qApp));
    pinDesignFont();
}

template <class T = QWidget>
T *child(const QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QLatin1String(name));
    if (!found)
        qWarning("missing child %s", name);
    return found;
}

inline QAction *action(const TPanelVaxel &w, const char *name)
{
    return child<QAction>(&w, name);
}

// Answers the next modal box or dialog once it is up.
inline void whenModal(std::function<void(QWidget *)> answer)
{
    QTimer::singleShot(0, [answer] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        answer(modal);
    });
}

inline void clickBoxButton(QWidget *modal, QMessageBox::StandardButton which)
{
    auto *box = qobject_cast<QMessageBox *>(modal);
    QVERIFY(box);
    box->button(which)->click();
}

// Steps the splash timer to the hand-over, as the 20 ms timer would.
inline void runSplash(Application &app)
{
    app.starter().timer()->stop();
    while (app.starter().counter() < TStarter::HandOverAt)
        app.starter().TM_StarterTimer();
}

inline bool shown(const QWidget *w)
{
    return !w->isHidden();
}


}  // namespace kalmor::shelltest
