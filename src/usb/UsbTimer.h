#pragma once

#include <QTimer>

#include <functional>

/// The timers of the USB link behind a small interface, so that tests can fire a time-out
/// at the moment they choose instead of waiting for it. Main thread only.
class UsbTimer {
 public:
  virtual ~UsbTimer() = default;
  virtual void setInterval(int ms) = 0;
  virtual int interval() const = 0;
  /// Starts (or restarts) with the current interval.
  virtual void start() = 0;
  void start(int ms) {
    setInterval(ms);
    start();
  }
  virtual void stop() = 0;
  virtual bool isActive() const = 0;

  /// Called on expiry, on the main thread.
  std::function<void()> onTimeout;
};

/// A QTimer; single-shot for the command supervision, repeating for the progress bars.
class QtUsbTimer : public UsbTimer {
 public:
  explicit QtUsbTimer(bool singleShot);
  void setInterval(int ms) override { timer_.setInterval(ms); }
  int interval() const override { return timer_.interval(); }
  void start() override { timer_.start(); }
  void stop() override { timer_.stop(); }
  bool isActive() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
};

/// A timer that expires only when fire() is called (tests). A single-shot one stops when
/// fired.
class ManualUsbTimer : public UsbTimer {
 public:
  explicit ManualUsbTimer(bool singleShot = true) : singleShot_(singleShot) {}
  void setInterval(int ms) override { interval_ = ms; }
  int interval() const override { return interval_; }
  void start() override {
    active_ = true;
    ++starts_;
  }
  void stop() override { active_ = false; }
  bool isActive() const override { return active_; }
  /// Expires now if running; returns whether it was running.
  bool fire() {
    if (!active_) return false;
    if (singleShot_) active_ = false;
    if (onTimeout) onTimeout();
    return true;
  }
  /// How often the timer was (re)started: a restart with timeout2 counts.
  int starts() const { return starts_; }

 private:
  bool singleShot_;
  int interval_ = 0;
  bool active_ = false;
  int starts_ = 0;
};
