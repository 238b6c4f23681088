#include "shell/TStarter.h"

#include "shell/ShellResources.h"

#include <QCloseEvent>
#include <QProgressBar>
#include <QTimer>

namespace kalmor {

TStarter::TStarter(QWidget *parent)
    : QWidget(parent)
    , m_gauge(new QProgressBar(this))
    , m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("Starter"));
    setWindowTitle(QStringLiteral("Kalmor - Startér"));
    setGeometry(444, 222, 377, 254);
    setFixedSize(377, 254);
    addStarterFace(this);

    m_gauge->setObjectName(QStringLiteral("G_Starter"));
    m_gauge->setGeometry(8, 224, 361, 17);
    m_gauge->setOrientation(Qt::Horizontal);
    m_gauge->setRange(0, 100);
    m_gauge->setValue(0);
    m_gauge->setTextVisible(true);
    m_gauge->setFormat(QStringLiteral("%p%"));
    m_gauge->setAlignment(Qt::AlignCenter);
    // Made before the picture, so it is lifted above it.
    m_gauge->raise();

    m_timer->setObjectName(QStringLiteral("TM_Starter"));
    m_timer->setInterval(TickInterval);
    connect(m_timer, &QTimer::timeout, this, &TStarter::TM_StarterTimer);
    m_timer->start();
}

void TStarter::TM_StarterTimer()
{
    m_counter += 2;
    m_gauge->setValue(qMin(m_counter, m_gauge->maximum()));
    if (m_counter == PageSwitchAt) {
        emit firstPagesDue();
    } else if (m_counter == HandOverAt) {
        emit handOverDue();
        hide();
        // Later ticks would change nothing anyone sees.
        m_timer->stop();
    }
}

void TStarter::closeEvent(QCloseEvent *event)
{
    m_timer->stop();
    event->accept();
    emit closed();
}

}  // namespace kalmor
