#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "data/MeasurementSet.h"
#include "graph/GraphLine.h"
#include "radio/RfLogger.h"

class GraphContent;

using TGraphLineArray = std::vector<std::unique_ptr<TGraphLine>>;

/// The " Представление " choice of a data page.
enum class GraphPresentation { ByTime = 0, BySensor = 1 };

/// The page that is active when "Показать график" runs.
enum class GraphPage { Radio, Usb, Settings };

/// What the show operations need of the graph window. The window implements it; tests
/// use a recording fake.
class GraphWindowView {
 public:
  virtual ~GraphWindowView() = default;
  virtual GraphContent& content() = 0;
  virtual bool isShowing() const = 0;
  /// Hides the window, saving its settings.
  virtual void closeWindow() = 0;
  /// Shows the window: rebuilds its line list, restores its settings and fits the axes;
  /// restores the normal cursor.
  virtual void showWindow() = 0;
  /// Shows the "Определить диапазон" group.
  virtual void setRangeGroupVisible(bool visible) = 0;
  /// The hourglass while a graph is being prepared.
  virtual void setBusyCursor(bool busy) = 0;
};

/// The graph lines of both pages, built from the measurement sets and handed to the graph
/// window by "Показать график". Owned by the main window; UI thread only.
///
/// Lines are created detached: only the show operations put lines on the window's chart,
/// so the chart never mixes time and sensor lines or lines of several loggers.
class GraphLines {
 public:
  explicit GraphLines(GraphWindowView* window = nullptr) : window_(window) {}
  ~GraphLines();

  std::vector<TGraphLineArray> RfTimeLines;    ///< [radio logger][sensor]
  std::vector<TGraphLineArray> RfSensorLines;  ///< [radio logger][measurement]
  TGraphLineArray UsbTimeLines;                ///< [sensor]
  TGraphLineArray UsbSensorLines;              ///< [measurement]

  /// After every change of the radio set: new lines for every logger (time lines as many
  /// as the list's sensor count, sensor lines as many as measurements of string 0), then
  /// FillRfGraphLines(selected).
  void BuildRfGraphLines(const TMeasurementSet& radioSet, const TRfLoggerArray& loggers, int selectedRfLogger);
  /// Titles and points of one radio logger's lines; nothing without data for it.
  void FillRfGraphLines(const TMeasurementSet& radioSet, int logger);

  /// On every refresh of the USB page: new USB lines. Lines are created only when
  /// haveLogger (a USB logger connected and idle, or data from a file); then, when the set
  /// has measurement times, fillTable runs (the USB data table) and FillUsbGraphLines.
  void BuildUsbGraphLines(const TMeasurementSet& usbSet, bool haveLogger, int usbSensorCount,
                          const std::function<void()>& fillTable = {});
  void FillUsbGraphLines(const TMeasurementSet& usbSet);

  /// One point (time, value) of a time line. The first point of a line that is on the
  /// window's chart fits the chart to its visible lines and brings the point into view.
  static void AddTimePoint(TGraphLine& line, double value, double time);
  /// One point (value, label number) of a sensor line; no fitting.
  static void AddSensorPoint(TGraphLine& line, int labelNumber, double value);

  /// "Показать график" on the radio page; false when nothing was shown.
  bool ShowRfGraph(const TMeasurementSet& radioSet, const TRfLoggerArray& loggers, int selectedRfLogger,
                   GraphPresentation presentation);
  /// "Показать график" on the USB page; false when nothing was shown.
  bool ShowUsbGraph(const TMeasurementSet& usbSet, const QString& usbLoggerId, GraphPresentation presentation);
  void DetachRfGraphLines();
  void DetachUsbGraphLines();

  /// The action "Показать график": the graph of the active data page; nothing on the
  /// settings page.
  void ActionShowGraphicExecute(GraphPage page, const TMeasurementSet& radioSet, const TRfLoggerArray& loggers,
                                int selectedRfLogger, GraphPresentation rfPresentation, const TMeasurementSet& usbSet,
                                const QString& usbLoggerId, GraphPresentation usbPresentation);

  /// Title of a time line: the quantity heading for a TK of type 4, else "дат.№ " + label.
  static QString TimeLineTitle(uint8_t tkType, int16_t distance);
  /// Title of a sensor line: regional short date, a blank, "hh:nn:ss".
  static QString SensorLineTitle(double measTime);
  static QString SensorLineTitle(double measTime, const QString& shortDateFormat);

 private:
  static void fillLines(const TMeasurementSet& set, int logger, TGraphLineArray& timeLines,
                        TGraphLineArray& sensorLines);
  bool show(TGraphLineArray* lines, const QString& loggerId, GraphPresentation presentation, bool busyCursor);

  GraphWindowView* window_;
};
