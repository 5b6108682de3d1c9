// Watches a widget for the moment it is painted, and runs the event loop until then.
#pragma once

#include <QObject>
#include <QWidget>
#include <functional>

namespace bench {

class PaintProbe : public QObject {
  public:
    explicit PaintProbe(QWidget* watched);
    ~PaintProbe() override;

    // Forgets earlier paints; the next wait is for a paint after this call.
    void Reset() { painted_ = false; }
    bool Painted() const { return painted_; }
    // Runs events until the widget has been painted and its paint has finished;
    // false when that did not happen within the timeout.
    bool WaitForPaint(int timeoutMs = 30000);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* watched_;
    bool painted_ = false;
};

// Runs events until the condition holds; false on timeout.
bool RunEventsUntil(const std::function<bool()>& condition, int timeoutMs);

}  // namespace bench
