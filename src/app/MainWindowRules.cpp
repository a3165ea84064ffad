#include "app/MainWindowRules.h"

#include <QFileInfo>

namespace MainWindowRules {

DataCommands radioDataCommands(int radioLoggerCount, int radioState) {
  const bool idle = radioState == RadioNotConnected || radioState == RadioIdle || radioState == RadioFileData;
  const bool data = radioLoggerCount > 0 && idle;
  return {data, data, data, idle};
}

DataCommands usbDataCommands(bool usbHasDataForLogger0, int usbState) {
  const bool idle = usbState == UsbNotConnected || usbState == UsbReady || usbState == UsbFileData;
  const bool data = usbHasDataForLogger0 && idle;
  return {data, data, data, idle};
}

QString startupDataFile(const QStringList& arguments) {
  if (arguments.isEmpty()) return {};
  const QString& first = arguments.first();
  if (first.size() <= 5) return {};
  const QFileInfo info(first);
  if (!info.isFile() || !first.toLower().endsWith(QLatin1String(".tmd"))) return {};
  return first;
}

}  // namespace MainWindowRules
