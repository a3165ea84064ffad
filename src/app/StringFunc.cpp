#include "app/StringFunc.h"

QString PadString(const QString& s, QChar fill, int width, bool atLeft) {
  if (s.size() >= width) return s;
  const QString pad(width - s.size(), fill);
  return atLeft ? pad + s : s + pad;
}

QString GroupThousands(int64_t value) {
  // Work on the unsigned magnitude so INT64_MIN has one too.
  uint64_t rest = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  QString text = QString::number(rest % 1000);
  rest /= 1000;
  int groups = 0;
  while (rest != 0) {
    text = PadString(text, QLatin1Char('0'), 3 + 4 * groups, true);
    text.prepend(QString::number(rest % 1000) + QLatin1Char(' '));
    rest /= 1000;
    ++groups;
  }
  if (value < 0) text.prepend(QLatin1Char('-'));
  return text;
}
