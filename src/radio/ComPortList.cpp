#include "radio/ComPortList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

bool knownUartType(const QString& sysEntry) {
  QFile type(sysEntry + QStringLiteral("/type"));
  if (!type.open(QIODevice::ReadOnly)) return false;
  bool ok = false;
  const int value = type.readAll().trimmed().toInt(&ok);
  return ok && value != 0;
}

// Splits "ttyUSB10" into ("ttyUSB", 10) for natural ordering.
std::pair<QString, int> sortKey(const QString& name) {
  int digits = static_cast<int>(name.size());
  while (digits > 0 && name.at(digits - 1).isDigit()) --digits;
  return {name.left(digits), name.mid(digits).toInt()};
}

}  // namespace

QStringList ListComPorts(const QString& devRoot, const QString& sysTtyRoot) {
  const QDir dev(devRoot);
  QStringList names = dev.entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*"), QStringLiteral("ttyS*")},
                                    QDir::System | QDir::Files | QDir::NoDotAndDotDot);
  QStringList ports;
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return sortKey(a) < sortKey(b); });
  for (const QString& name : names) {
    const QString sysEntry = sysTtyRoot + QLatin1Char('/') + name;
    if (!QFileInfo::exists(sysEntry + QStringLiteral("/device"))) continue;
    if (name.startsWith(QStringLiteral("ttyS")) && !knownUartType(sysEntry)) continue;
    ports.append(dev.filePath(name));
  }
  return ports;
}

void PrepareAdapterBuffers(int firstSize, int secondSize) {
  Q_UNUSED(firstSize);
  Q_UNUSED(secondSize);
}
