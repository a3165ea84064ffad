#pragma once

#include <QByteArray>

/// Reads what the program needs from a HID report descriptor.
class HidReportDescriptor {
 public:
  /// Length in bytes of the longest output report, including the report ID byte, which
  /// hidraw expects in front of every report (0 when the device uses no report IDs).
  /// 0 when the descriptor declares no output report or cannot be parsed.
  static int maxOutputReportLength(const QByteArray& descriptor);
};
