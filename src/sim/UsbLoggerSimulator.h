#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <array>
#include <cstdint>
#include <vector>

#include "usb/SimulatedHidBackend.h"
#include "usb/UsbPayloads.h"

class Clock;

/// One stored measurement of the virtual logger.
struct UsbSimRecord {
  QDateTime time;
  uint16_t battery = 0;         ///< hundredths of a volt
  std::vector<int16_t> temps;   ///< hundredths of °C, one per sensor
};

/// Everything the virtual logger reports; settings commands change it.
struct UsbSimImage {
  QString loggerId = QStringLiteral("D124SN00042");
  uint8_t tkType = 2;
  uint16_t tkSerial = 1234;
  std::vector<uint16_t> distances;  ///< position codes, hundredths
  uint8_t headerErrorCode = 0;
  uint16_t supplyVoltage = 655;     ///< hundredths of a volt
  qint64 clockOffsetSec = 0;        ///< logger clock minus the workstation clock
  uint16_t secondsCounter = 0;
  int32_t tkPollPeriodSec = 8 * 3600;
  uint16_t rfPollPeriodSec = 60;
  int32_t gsmSendPeriodSec = 24 * 3600;
  bool gsmModule = true;
  bool rfModule = true;
  uint8_t rfChannel = 20;
  std::array<uint8_t, 8> memoryChipId{0xEF, 0x40, 0x18, 0x00, 0xC2, 0x20, 0x16, 0x01};
  UsbGsmTexts texts;
  uint8_t tkInitStatus = 1;
  uint8_t gsmSignalLevel = 20;  ///< raw
  uint8_t configErrorCode = 0;
  QString firmware = QStringLiteral("2.1.7");
  int32_t clockAdjust = 0;
  int32_t memoryCapacity = 4 * 1024 * 1024;
  std::vector<UsbSimRecord> records;  ///< oldest first; record number = index + 1

  uint16_t recordSize() const { return static_cast<uint16_t>(2 * distances.size() + 10); }
};

/// Faults the virtual logger can inject into its next answers.
enum class UsbSimFault {
  None,
  NoAnswer,             ///< the command gets no report at all
  LateAcknowledgement,  ///< the whole answer comes after lateDelayMs (past timeout1)
  WrongEcho,            ///< the Cmd packet echoes another code
  WrongStatus,          ///< task echoes carry status 0x33
  WrongSizeHeader,      ///< the header answer lacks its last Data packet
  WrongSizeConfig,      ///< the configuration answer lacks its last Data packet
  WrongSizeRecord,      ///< a data record answer lacks its last Data packet
  BadSMark,             ///< header and records carry 'X' in place of 'S' (CRC still right)
  BadCrc,               ///< header and records carry a wrong CRC-8
  UnplugMidway,         ///< the first Data packet (or the acknowledgement) goes out, then the logger is pulled out
};

/// A USB logger on the simulated HID backend, speaking the logger's reports: Data packets
/// then the Cmd packet for data answers, an accepted echo then a done echo for tasks.
/// Runs on the main thread; answers are queued like reports from the bus.
class UsbLoggerSimulator : public QObject, public SimulatedHidPeer {
  Q_OBJECT
 public:
  UsbLoggerSimulator(SimulatedHidBackend& backend, Clock& clock, QObject* parent = nullptr);
  ~UsbLoggerSimulator() override;

  UsbSimImage& image() { return image_; }
  void setSerialNumber(const QString& serial) { serial_ = serial; }

  void plug();
  void unplug();
  bool plugged() const;

  /// The fault hits the next count commands it concerns (the wrong-size faults only their
  /// command, BadSMark and BadCrc only headers and records, WrongStatus only tasks).
  /// onlyCode: when not 0, only commands with this code are hit.
  void injectFault(UsbSimFault fault, int count = 1, uint8_t onlyCode = 0);
  UsbSimFault pendingFault() const { return faultCount_ > 0 ? fault_ : UsbSimFault::None; }
  static UsbSimFault faultFromName(const QString& name);  ///< "no-answer", "bad-crc", …
  static QString faultName(UsbSimFault fault);

  /// Sends "EE 55", what the logger says after it has restarted.
  void sendRebootNotice();
  /// How long a task (measurement, erase, GSM upload, GSM clock, reset) takes; 0 by default.
  void setTaskDurationMs(int ms) { taskDurationMs_ = ms; }
  void setLateDelayMs(int ms) { lateDelayMs_ = ms; }
  /// Delivers a late answer or a running task's completion now.
  void releaseHeld();

  /// Command codes in the order they were received (report 7).
  const std::vector<uint8_t>& commandLog() const { return commands_; }
  /// Data reports (report 5) received since the last CMD_SET_GSM_CONFIG.
  int pendingDataReports() const { return dataReports_; }

  /// Answers as the logger builds them (tests use them as golden references).
  static QByteArray headerAnswer(const UsbSimImage& image, const QDateTime& loggerNow);
  static QByteArray configAnswer(const UsbSimImage& image, const QDateTime& loggerNow);
  static QByteArray recordAnswer(const UsbSimImage& image, int index);
  static QByteArray dataStructAnswer(const UsbSimImage& image);

  /// A demo logger (model 124, 16 sensors, 300 records around freezing, GSM and RF modules)
  /// plugged into the backend and owned by it.
  static UsbLoggerSimulator* attachDemo(SimulatedHidBackend& backend);
  /// The demo's image with its records ending at now.
  static UsbSimImage demoImage(const QDateTime& now);

  HidDeviceInfo hidInfo() const override;
  void outputReport(const QByteArray& report) override;

 private:
  bool takeFault(UsbSimFault fault);
  void command(uint8_t code, const QByteArray& payload);
  void dataAnswer(uint8_t code, QByteArray data, UsbSimFault sizeFault);
  void echo(uint8_t code, uint8_t second = 0);
  void task(uint8_t code, bool classD);
  void emitReports(std::vector<QByteArray> reports);
  QByteArray cmdReport(uint8_t code, uint8_t second, bool lengthFollows = false, int32_t length = 0) const;
  QDateTime loggerNow() const;
  void addMeasurement();
  void resetToDefaults();

  SimulatedHidBackend& backend_;
  Clock& clock_;
  UsbSimImage image_;
  QString serial_ = QStringLiteral("205A38743030");
  UsbSimFault fault_ = UsbSimFault::None;
  int faultCount_ = 0;
  uint8_t faultCode_ = 0;
  uint8_t currentCode_ = 0;
  bool wrongEchoNow_ = false;
  bool wrongStatusNow_ = false;
  int taskDurationMs_ = 0;
  int lateDelayMs_ = 1500;
  std::vector<uint8_t> commands_;
  QByteArray gsmBuffer_;
  int dataReports_ = 0;
  std::vector<QByteArray> held_;  ///< a late answer or a task completion waiting for heldTimer_
  std::function<void()> heldAction_;
  QTimer heldTimer_;
};
