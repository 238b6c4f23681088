#include "view/RenderTimer.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace kalmor {

namespace {

constexpr qint64 RatePeriod = 1000;

}  // namespace

X_Vykreslovac::X_Vykreslovac(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("X_Vykreslovac"));
    const auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    m_clock = [elapsed] { return elapsed->elapsed(); };
    m_mayTick = [this] {
        const bool active = QGuiApplication::applicationState() == Qt::ApplicationActive;
        m_hasBeenActive = m_hasBeenActive || active;
        return mayTick(m_hasBeenActive, active);
    };
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &X_Vykreslovac::onTimeout);
}

void X_Vykreslovac::setClock(Clock clock)
{
    m_clock = std::move(clock);
    m_lastTick = m_rateStart = m_clock();
    m_ticksSinceRate = 0;
}

void X_Vykreslovac::setActivity(std::function<bool()> mayTick)
{
    m_mayTick = std::move(mayTick);
}

bool X_Vykreslovac::mayTick(bool hasBeenActive, bool isActiveNow)
{
    return isActiveNow || !hasBeenActive;
}

void X_Vykreslovac::start()
{
    m_lastTick = m_rateStart = m_clock();
    m_ticksSinceRate = 0;
    m_timer.start(Interval);
}

void X_Vykreslovac::stop()
{
    m_timer.stop();
}

bool X_Vykreslovac::tickIfDue()
{
    const qint64 now = m_clock();
    const qint64 elapsed = now - m_lastTick;
    if (elapsed < Interval || !m_mayTick())
        return false;
    m_lastTick = now;
    ++m_ticks;
    ++m_ticksSinceRate;
    const qint64 rateElapsed = now - m_rateStart;
    if (rateElapsed >= RatePeriod) {
        m_frameRate = int(std::lround(double(m_ticksSinceRate) * 1000.0 / double(rateElapsed)));
        m_ticksSinceRate = 0;
        m_rateStart = now;
    }
    const qint64 lag = std::max<qint64>(1, elapsed / Interval);
    emit tick(int(std::min<qint64>(lag, std::numeric_limits<int>::max())), m_frameRate);
    return true;
}

void X_Vykreslovac::onTimeout()
{
    tickIfDue();
    // Wait for the rest of the interval; an inactive program, whose last
    // tick lies further back, looks again after a whole one.
    const qint64 since = m_clock() - m_lastTick;
    m_timer.start(since >= Interval ? Interval : int(std::max<qint64>(1, Interval - since)));
}

}  // namespace kalmor
