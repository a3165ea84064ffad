#pragma once

#include <QString>

#include <atomic>
#include <memory>
#include <thread>

#include "sim/RadioModemEngine.h"

class Clock;

/// A radio modem with radio loggers on a pseudo-terminal: open ptyPath() as the serial
/// port. The simulator serves the line on its own thread from start() until stop().
///
/// Typical use (tests, the GUI's demo mode, tundrabase-cli simulate-radio):
///   RadioSimulator sim(RadioSimConfig::demo(QDateTime::currentDateTime()));
///   if (!sim.start(&error)) …;
///   port path = sim.ptyPath();
///   sim.engine().injectFault(id, RadioFault::CounterGap);
///   sim.stop();   // also done by the destructor
class RadioSimulator {
 public:
  explicit RadioSimulator(RadioSimConfig config, const Clock& clock);
  /// The demo configuration on the machine's clock.
  RadioSimulator();
  ~RadioSimulator();
  RadioSimulator(const RadioSimulator&) = delete;
  RadioSimulator& operator=(const RadioSimulator&) = delete;

  /// Opens the pseudo-terminal pair and starts serving. False (with a reason) when the
  /// pair cannot be opened.
  bool start(QString* error = nullptr);
  /// Stops serving and closes the pair; waits for the thread, which always ends promptly.
  void stop();
  bool isRunning() const { return thread_.joinable(); }
  /// Path of the pseudo-terminal's serial side ("/dev/pts/N"); empty before start().
  QString ptyPath() const { return ptyPath_; }

  RadioModemEngine& engine() { return *engine_; }

 private:
  void serve();
  bool writeAll(const QByteArray& bytes);
  bool pause(int ms);

  std::unique_ptr<RadioModemEngine> engine_;
  int master_ = -1;
  int slave_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
  QString ptyPath_;
};
