#include "radio/ThreadLog.h"

#include "app/Clock.h"
#include "app/DateTimeValue.h"
#include "app/Logging.h"

ThreadLog::ThreadLog(const Clock& clock, QString fileName) : clock_(clock), fileName_(std::move(fileName)) {}

void ThreadLog::append(const QString& text) {
  const QString line = DateTimeValue::traceStamp(clock_.now()) + QStringLiteral(": ") + text;
  std::lock_guard lock(mutex_);
  lines_.append(line);
  if (lines_.size() > kMaxHeldLines) writeHeldLocked();
}

void ThreadLog::flush() {
  std::lock_guard lock(mutex_);
  writeHeldLocked();
}

void ThreadLog::drop() {
  std::lock_guard lock(mutex_);
  lines_.clear();
}

void ThreadLog::endOfRequest(bool verbose) {
  std::lock_guard lock(mutex_);
  if (verbose) writeHeldLocked();
  lines_.clear();
}

QStringList ThreadLog::heldLines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

void ThreadLog::writeHeldLocked() {
  // Failures of the writer are its own (it reports false); the lines are gone either way
  // so memory stays bounded.
  for (const QString& line : std::as_const(lines_)) WriteLogLine(line, fileName_);
  lines_.clear();
}
