#pragma once

#include <QDateTime>

/// Source of the current local date-time. Logic that reads the clock takes one of these,
/// so date windows and clock commands are deterministic in tests.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual QDateTime now() const = 0;

  /// The machine's clock.
  static Clock& system();
};

/// A clock that stands still until it is set or advanced (tests, simulators).
class ManualClock : public Clock {
 public:
  explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 1, 1), QTime(12, 0))) : now_(std::move(start)) {}
  QDateTime now() const override { return now_; }
  void set(const QDateTime& t) { now_ = t; }
  void advanceMs(qint64 ms) { now_ = now_.addMSecs(ms); }

 private:
  QDateTime now_;
};
