#pragma once

#include <QString>
#include <cstdint>
#include <string_view>

#include "data/MeasurementSet.h"
#include "data/UsbFileHeader.h"
#include "radio/RfLogger.h"

/// Everything one reading of a data file yields. Reading never changes program state; the
/// caller decides what to apply (DataFileLoader does it for the main window).
struct DataFileContent {
  /// A comment line with " (USB) " was met: the file is a USB file.
  bool usbFile = false;
  /// A data line was met before any logger line while not in USB mode: the radio logger
  /// list and radio set are to be replaced by radioLoggers and radioSet.
  bool radioTaken = false;
  /// Read to the end of the file without an error ending the reading.
  bool endReached = false;
  /// Every measurement line read carried its correct check value.
  bool signatureOk = true;
  /// Lines that looked like data but could not be read.
  int damagedCount = 0;
  /// Width of the value fields measured on the last thermal-string line read.
  int valueFieldWidth = 7;
  /// Where reading stopped early: 1-based line number and the reason (English, for tools).
  int errorLine = 0;
  QString errorText;

  TRfLoggerArray radioLoggers;  ///< one entry per radio logger line read, in file order
  TMeasurementSet radioSet;     ///< logger i belongs to radioLoggers[i]
  UsbFileHeader usbHeader;
  TMeasurementSet usbSet;  ///< empty, or exactly one logger

  /// The set of the file's variant.
  const TMeasurementSet& set() const { return usbFile ? usbSet : radioSet; }
};

/// Reads the bytes of a data file (Windows-1251, lines ending in CR LF or LF). Lenient:
/// unknown and short lines are skipped, unreadable data lines are counted, and every check
/// value is verified by running the CRC register exactly as the writer does. Bounded on any
/// input: every line is looked at a fixed number of times, a thermal string takes at most
/// 255 sensors and a logger at most 255 thermal strings.
class DataFileParser {
 public:
  static constexpr int MaxSensors = 255;
  static constexpr int MaxStrings = 255;

  /// centuryBase: the first year of the current century; two-digit years fall in it.
  explicit DataFileParser(int centuryBase = 2000) : centuryBase_(centuryBase) {}

  DataFileContent parse(std::string_view bytes);

  /// A century base for today's date.
  static int currentCenturyBase();

  /// The line readers, on the state of the reading under way. Each returns false for a
  /// damaged line, which then changed nothing.
  bool ParseLoggerLine(std::string_view line);
  bool ParseTkLine(std::string_view line, size_t measurementLinesAhead = 0);
  enum class MeasurementResult { Read, Damaged, Fatal };
  MeasurementResult ParseMeasurementLine(std::string_view line);

 private:
  void reset();
  void switchToUsb();
  void takeRadio();
  void completeUsbHeader();

  int centuryBase_;
  DataFileContent c_;
  int stage_ = 0;
  uint8_t reg_ = 0;
};
