#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

#include "app/UserPrompt.h"

/// A UserPrompt that records every box and answers questions from a script (Yes when the
/// script runs dry, unless told otherwise).
class RecordingPrompt : public UserPrompt {
 public:
  struct Box {
    Kind kind;
    QString caption;
    QString text;
  };

  bool show(Kind kind, const QString& caption, const QString& text) override;

  void answerNext(bool yes) { answers_.push_back(yes); }
  void setDefaultAnswer(bool yes) { defaultAnswer_ = yes; }
  const std::vector<Box>& boxes() const { return boxes_; }
  QStringList texts() const;
  void clear() { boxes_.clear(); }

 private:
  std::vector<Box> boxes_;
  std::deque<bool> answers_;
  bool defaultAnswer_ = true;
};

/// Writes bytes to path (a test's own temporary file); fails the test when it cannot.
/// Returns path.
QString writeTestFile(const QString& path, const QByteArray& bytes);

/// Path of a file under tests/fixtures.
QString fixturePath(const QString& name);
