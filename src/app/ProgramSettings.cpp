#include "app/ProgramSettings.h"

#include <algorithm>

#include "app/IniFile.h"
#include "app/UserPrompt.h"

namespace {
const QString kMain = QStringLiteral("Main");
const QString kSettings = QStringLiteral("Settings");
const QString kStrategy = QStringLiteral("Strategy");
const QString kRf = QStringLiteral("RF");
const QString kUsb = QStringLiteral("USB");
const QString kPrg = QStringLiteral("PrgSettings");

QString powerKey(int i) { return QStringLiteral("Power%1").arg(i + 1); }
QString attemptKey(int i) { return QStringLiteral("Attempt%1").arg(i + 1); }
}  // namespace

ProgramSettings ProgramSettings::load(const QString& iniFileName, const ProgramSettings& defaults) {
  IniFile ini;
  ini.load(iniFileName);
  ProgramSettings s = defaults;
  s.top = ini.readInteger(kMain, QStringLiteral("Top"), s.top);
  s.left = ini.readInteger(kMain, QStringLiteral("Left"), s.left);
  s.height = ini.readInteger(kMain, QStringLiteral("Height"), s.height);
  s.width = ini.readInteger(kMain, QStringLiteral("Width"), s.width);
  // Taken as one byte, as the port list compares it.
  s.port = ini.readInteger(kSettings, QStringLiteral("Port"), s.port) & 0xFF;
  s.portName = ini.value(kSettings, QStringLiteral("PortName"), s.portName);
  s.minChannel = ini.readInteger(kSettings, QStringLiteral("MinChannel"), s.minChannel);
  s.maxChannel = ini.readInteger(kSettings, QStringLiteral("MaxChannel"), s.maxChannel);
  if (s.maxChannel < s.minChannel) s.maxChannel = s.minChannel;
  s.channel = std::clamp(ini.readInteger(kSettings, QStringLiteral("Channel"), s.channel), s.minChannel, s.maxChannel);
  s.dataBlockSize = ini.readInteger(kStrategy, QStringLiteral("DataBlockSize"), s.dataBlockSize);
  for (int i = 0; i < 3; ++i) s.power[i] = ini.readInteger(kStrategy, powerKey(i), s.power[i]);
  for (int i = 0; i < 3; ++i) s.attempt[i] = ini.readBool(kStrategy, attemptKey(i), s.attempt[i]);
  s.rfMaxLimit = ini.readReal(kRf, QStringLiteral("DataMaxLimit"), s.rfMaxLimit);
  s.rfMinLimit = ini.readReal(kRf, QStringLiteral("DataMinLimit"), s.rfMinLimit);
  s.rfHighlight = ini.readBool(kRf, QStringLiteral("HighlightOutOfRangeData"), s.rfHighlight);
  s.usbMaxLimit = ini.readReal(kUsb, QStringLiteral("DataMaxLimit"), s.usbMaxLimit);
  s.usbMinLimit = ini.readReal(kUsb, QStringLiteral("DataMinLimit"), s.usbMinLimit);
  s.usbHighlight = ini.readBool(kUsb, QStringLiteral("HighlightOutOfRangeData"), s.usbHighlight);
  s.dataFilesDir = ini.value(kPrg, QStringLiteral("DataFiles"), s.dataFilesDir);
  s.deviceListDir = ini.value(kPrg, QStringLiteral("DeviceList"), s.deviceListDir);
  return s;
}

bool ProgramSettings::save(const QString& iniFileName, const QString& portText, UserPrompt& prompt) const {
  IniFile ini;
  ini.load(iniFileName);
  ini.writeInteger(kMain, QStringLiteral("Top"), top);
  ini.writeInteger(kMain, QStringLiteral("Left"), left);
  ini.writeInteger(kMain, QStringLiteral("Height"), height);
  ini.writeInteger(kMain, QStringLiteral("Width"), width);
  bool isComNumber = false;
  const int comNumber = portText.startsWith(QLatin1String("COM")) ? portText.mid(3, 10).toInt(&isComNumber) : 0;
  if (isComNumber) ini.writeInteger(kSettings, QStringLiteral("Port"), comNumber);
  if (portText.startsWith(QLatin1Char('/'))) ini.setValue(kSettings, QStringLiteral("PortName"), portText);
  ini.writeInteger(kSettings, QStringLiteral("Channel"), channel);
  ini.writeInteger(kStrategy, QStringLiteral("DataBlockSize"), dataBlockSize);
  for (int i = 0; i < 3; ++i) ini.writeInteger(kStrategy, powerKey(i), power[i]);
  for (int i = 0; i < 3; ++i) ini.writeBool(kStrategy, attemptKey(i), attempt[i]);
  ini.writeReal(kRf, QStringLiteral("DataMaxLimit"), rfMaxLimit);
  ini.writeReal(kRf, QStringLiteral("DataMinLimit"), rfMinLimit);
  ini.writeBool(kRf, QStringLiteral("HighlightOutOfRangeData"), rfHighlight);
  ini.writeReal(kUsb, QStringLiteral("DataMaxLimit"), usbMaxLimit);
  ini.writeReal(kUsb, QStringLiteral("DataMinLimit"), usbMinLimit);
  ini.writeBool(kUsb, QStringLiteral("HighlightOutOfRangeData"), usbHighlight);
  ini.setValue(kPrg, QStringLiteral("DataFiles"), dataFilesDir);
  ini.setValue(kPrg, QStringLiteral("DeviceList"), deviceListDir);
  if (ini.save(iniFileName)) return true;
  // The failure surfaces like any uncaught error: its text with a full stop appended.
  prompt.error(QStringLiteral("Unable to write to ") + iniFileName + QLatin1Char('.'));
  return false;
}
