#include "app/AboutTexts.h"

#include "Version.h"

AboutTexts AboutTexts::fromVersion(const QString& versionText) {
  QString major = versionText.section(QLatin1Char('.'), 0, 0);
  if (major.size() == 1) major.prepend(QLatin1Char('0'));
  return {QStringLiteral("Версия 643.48213975.00062-") + major, QStringLiteral("Сборка ") + versionText};
}

QString AboutTexts::programVersion() { return QStringLiteral(TUNDRA_VERSION_TEXT); }
