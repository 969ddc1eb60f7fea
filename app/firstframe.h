#pragma once

#include <QEvent>
#include <QObject>
#include <QWindow>

#include <functional>

// Calls done once, right after the window's first exposure has been painted and flushed: the
// point where a user sees the window, and where work the first frame does not need can start.
// Header-only (Qt only), so that the start-up benchmark's bare window is timed the same way.
class FirstFrameWatcher : public QObject
{
public:
    FirstFrameWatcher(QWindow *window, std::function<void()> done)
        : QObject(window)
        , m_done(std::move(done))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Expose || !static_cast<QWindow *>(watched)->isExposed())
            return false;
        watched->removeEventFilter(this);
        // Painted here, so that done comes after the frame and not before it.
        watched->event(event);
        const std::function<void()> done = std::move(m_done);
        deleteLater();
        done();
        return true;
    }

private:
    std::function<void()> m_done;
};

// window must exist (a widget's windowHandle() after show()); nothing when it is null.
inline void whenFirstFramePainted(QWindow *window, std::function<void()> done)
{
    if (window)
        new FirstFrameWatcher(window, std::move(done));
}
