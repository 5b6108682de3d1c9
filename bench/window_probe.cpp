#include "bench/window_probe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>

namespace bench {

PaintProbe::PaintProbe(QWidget* watched) : watched_(watched) {
    watched_->installEventFilter(this);
}

PaintProbe::~PaintProbe() {
    watched_->removeEventFilter(this);
}

bool PaintProbe::eventFilter(QObject* watched, QEvent* event) {
    if (watched == watched_ && event->type() == QEvent::Paint)
        painted_ = true;
    return false;
}

bool PaintProbe::WaitForPaint(int timeoutMs) {
    // The filter sees the paint before the widget draws; the event loop returns after it.
    return RunEventsUntil([this] { return painted_; }, timeoutMs);
}

bool RunEventsUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

}  // namespace bench
