#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace kalmor {

// The render timer X_Vykreslovac: a tick at most every 16 ms whenever the
// event loop is idle, with the lag count (milliseconds since the previous
// tick / 16, at least 1), and a frame rate recomputed every second.
//
// No ticks come while another application is active. A platform without
// a focus concept (offscreen, or an X server without a window manager)
// never makes the program "active"; ticks are therefore suspended only
// once the program has been active and lost it, so it renders there too.
class X_Vykreslovac : public QObject {
    Q_OBJECT
public:
    static constexpr int Interval = 16;

    explicit X_Vykreslovac(QObject *parent = nullptr);

    // Milliseconds of a monotonic clock; replaceable for tests.
    using Clock = std::function<qint64()>;
    void setClock(Clock clock);
    // Whether the program may tick now; replaceable for tests.
    void setActivity(std::function<bool()> mayTick);

    void start();
    void stop();
    bool isRunning() const { return m_timer.isActive(); }

    int frameRate() const { return m_frameRate; }
    qint64 tickCount() const { return m_ticks; }

    // Delivers a tick if one is due; returns whether it did. The timer
    // calls this; tests call it with their own clock.
    bool tickIfDue();

    // The default activity rule, from the application's states.
    static bool mayTick(bool hasBeenActive, bool isActiveNow);

signals:
    void tick(int lagCount, int frameRate);

private:
    void onTimeout();

    QTimer m_timer;
    Clock m_clock;
    std::function<bool()> m_mayTick;
    qint64 m_lastTick = 0;
    qint64 m_rateStart = 0;
    qint64 m_ticks = 0;
    int m_ticksSinceRate = 0;
    int m_frameRate = 0;
    bool m_hasBeenActive = false;
};

}  // namespace kalmor
