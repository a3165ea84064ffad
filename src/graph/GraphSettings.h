#pragma once

#include <QString>

#include "graph/LinePalette.h"

class IniFile;

/// The graph window's section of the settings file. Defaults are what a missing file,
/// section or key yields; the geometry defaults are the window's current geometry.
/// Colours are stored as signed integers of the 0x00BBGGRR layout (system colours with
/// top byte 0xFF, the background's default -16777201).
struct GraphSettings {
  /// "Graphic " + GraphIdent (empty in this program): the trailing blank is part of the name.
  static QString sectionName(const QString& graphIdent = {}) { return QStringLiteral("Graphic ") + graphIdent; }

  bool autoZoom = true;
  TColor backColor = ClBtnFace;
  TColor gridColor = RgbColor(128, 128, 128);
  bool tracking = true;
  int trackingLine = 1;
  bool dots = true;
  int dotSize = 2;
  bool setRange = false;
  double rangeMin = 0;
  double rangeMax = 0;
  TColor rangeMinColor = 0;
  TColor rangeMaxColor = 0;
  int xAxisScaleIndex = 24;
  double yAxisMin = 0;
  double yAxisMax = 10;
  int windowHeight = 0;
  int windowWidth = 0;
  int windowXPos = 0;
  int windowYPos = 0;

  /// Reads the section over defaults (the defaults' geometry being the window's current one).
  static GraphSettings load(const IniFile& ini, const GraphSettings& defaults, const QString& section = sectionName());
  /// Writes every key, in the order of the settings table.
  void save(IniFile& ini, const QString& section = sectionName()) const;
};
