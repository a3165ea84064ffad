#include "TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

bool RecordingPrompt::show(Kind kind, const QString& caption, const QString& text) {
  boxes_.push_back({kind, caption, text});
  if (kind != Kind::Question && kind != Kind::WarningQuestion) return true;
  if (answers_.empty()) return defaultAnswer_;
  const bool yes = answers_.front();
  answers_.pop_front();
  return yes;
}

QStringList RecordingPrompt::texts() const {
  QStringList out;
  for (const auto& b : boxes_) out << b.text;
  return out;
}

QString writeTestFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
  EXPECT_EQ(f.write(bytes), bytes.size()) << path.toStdString();
  return path;
}

QString fixturePath(const QString& name) { return QStringLiteral(TUNDRA_FIXTURES_DIR "/") + name; }
