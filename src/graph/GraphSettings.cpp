#include "graph/GraphSettings.h"

#include "app/IniFile.h"

namespace {

TColor readColor(const IniFile& ini, const QString& section, const QString& key, TColor def) {
  return static_cast<TColor>(ini.readInteger(section, key, static_cast<int>(def)));
}

void writeColor(IniFile& ini, const QString& section, const QString& key, TColor value) {
  ini.writeInteger(section, key, static_cast<int>(value));
}

}  // namespace

GraphSettings GraphSettings::load(const IniFile& ini, const GraphSettings& d, const QString& s) {
  GraphSettings g;
  g.autoZoom = ini.readBool(s, QStringLiteral("Autozoom"), d.autoZoom);
  g.backColor = readColor(ini, s, QStringLiteral("BackColor"), d.backColor);
  g.gridColor = readColor(ini, s, QStringLiteral("GridColor"), d.gridColor);
  g.tracking = ini.readBool(s, QStringLiteral("Tracking"), d.tracking);
  g.trackingLine = ini.readInteger(s, QStringLiteral("TrackingLine"), d.trackingLine);
  g.dots = ini.readBool(s, QStringLiteral("Dots"), d.dots);
  g.dotSize = ini.readInteger(s, QStringLiteral("DotSize"), d.dotSize);
  g.setRange = ini.readBool(s, QStringLiteral("SetRange"), d.setRange);
  g.rangeMin = ini.readReal(s, QStringLiteral("RangeMin"), d.rangeMin);
  g.rangeMax = ini.readReal(s, QStringLiteral("RangeMax"), d.rangeMax);
  g.rangeMinColor = readColor(ini, s, QStringLiteral("RangeMinColor"), d.rangeMinColor);
  g.rangeMaxColor = readColor(ini, s, QStringLiteral("RangeMaxColor"), d.rangeMaxColor);
  g.xAxisScaleIndex = ini.readInteger(s, QStringLiteral("xAxisScaleIndex"), d.xAxisScaleIndex);
  g.yAxisMin = ini.readReal(s, QStringLiteral("yAxisMin"), d.yAxisMin);
  g.yAxisMax = ini.readReal(s, QStringLiteral("yAxisMax"), d.yAxisMax);
  g.windowHeight = ini.readInteger(s, QStringLiteral("WindowHeight"), d.windowHeight);
  g.windowWidth = ini.readInteger(s, QStringLiteral("WindowWidth"), d.windowWidth);
  g.windowXPos = ini.readInteger(s, QStringLiteral("WindowXPos"), d.windowXPos);
  g.windowYPos = ini.readInteger(s, QStringLiteral("WindowYPos"), d.windowYPos);
  return g;
}

void GraphSettings::save(IniFile& ini, const QString& s) const {
  ini.writeBool(s, QStringLiteral("Autozoom"), autoZoom);
  writeColor(ini, s, QStringLiteral("BackColor"), backColor);
  writeColor(ini, s, QStringLiteral("GridColor"), gridColor);
  ini.writeBool(s, QStringLiteral("Tracking"), tracking);
  ini.writeInteger(s, QStringLiteral("TrackingLine"), trackingLine);
  ini.writeBool(s, QStringLiteral("Dots"), dots);
  ini.writeInteger(s, QStringLiteral("DotSize"), dotSize);
  ini.writeBool(s, QStringLiteral("SetRange"), setRange);
  ini.writeReal(s, QStringLiteral("RangeMin"), rangeMin);
  ini.writeReal(s, QStringLiteral("RangeMax"), rangeMax);
  writeColor(ini, s, QStringLiteral("RangeMinColor"), rangeMinColor);
  writeColor(ini, s, QStringLiteral("RangeMaxColor"), rangeMaxColor);
  ini.writeInteger(s, QStringLiteral("xAxisScaleIndex"), xAxisScaleIndex);
  ini.writeReal(s, QStringLiteral("yAxisMin"), yAxisMin);
  ini.writeReal(s, QStringLiteral("yAxisMax"), yAxisMax);
  ini.writeInteger(s, QStringLiteral("WindowHeight"), windowHeight);
  ini.writeInteger(s, QStringLiteral("WindowWidth"), windowWidth);
  ini.writeInteger(s, QStringLiteral("WindowXPos"), windowXPos);
  ini.writeInteger(s, QStringLiteral("WindowYPos"), windowYPos);
}
