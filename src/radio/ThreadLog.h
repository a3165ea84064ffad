#pragma once

#include <QString>
#include <QStringList>

#include <mutex>

class Clock;

/// The communication thread's diagnostic log "thread.log". Appends are stamped with the
/// event time and held in memory, so the 50 ms receive polling never touches the disk;
/// at the 1001st held line every held line is written out through WriteLogLine (which
/// adds its own write-time stamp) and the list is emptied.
///
/// Thread rule: append, flush and drop may be called from any thread; one short lock
/// serialises them, so lines keep the order of their appends.
class ThreadLog {
 public:
  static constexpr int kMaxHeldLines = 1000;

  /// fileName without a folder lands in the process's current folder.
  explicit ThreadLog(const Clock& clock, QString fileName = QStringLiteral("thread.log"));

  /// Stamps text as "dd/mm/yyyy hh:nn:ss.zzz: text" and holds it.
  void append(const QString& text);
  /// Writes every held line in order and empties the list.
  void flush();
  /// Empties the list without writing.
  void drop();
  /// End of a request: held lines are written when verbose, and dropped in any case.
  void endOfRequest(bool verbose);

  QStringList heldLines() const;
  QString fileName() const { return fileName_; }

 private:
  void writeHeldLocked();

  const Clock& clock_;
  const QString fileName_;
  mutable std::mutex mutex_;
  QStringList lines_;
};
