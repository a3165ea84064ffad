#include "graph/GraphLines.h"

#include <QLocale>

#include "app/DateTimeValue.h"
#include "graph/GraphContent.h"

namespace {

std::unique_ptr<TGraphLine> newLine(GraphLineKind kind, size_t index) {
  return std::make_unique<TGraphLine>(kind, QString(), DefaultLineColor(static_cast<int>(index)));
}

void createLines(TGraphLineArray& lines, GraphLineKind kind, size_t count) {
  lines.clear();
  lines.reserve(count);
  for (size_t j = 0; j < count; ++j) lines.push_back(newLine(kind, j));
}

TGraphLine& lineAt(TGraphLineArray& lines, GraphLineKind kind, size_t index) {
  while (lines.size() <= index) lines.push_back(newLine(kind, lines.size()));
  return *lines[index];
}

}  // namespace

GraphLines::~GraphLines() = default;

QString GraphLines::TimeLineTitle(uint8_t tkType, int16_t distance) {
  if (tkType == 4) return QuantityKindHeading(SensorLabelNumber(distance));
  return QStringLiteral("дат.№ ") + QString::number(SensorLabelNumber(distance));
}

QString GraphLines::SensorLineTitle(double measTime) {
  return SensorLineTitle(measTime, QLocale().dateFormat(QLocale::ShortFormat));
}

QString GraphLines::SensorLineTitle(double measTime, const QString& shortDateFormat) {
  const QDateTime dt = DateTimeValue::toQDateTime(measTime);
  return dt.date().toString(shortDateFormat) + QLatin1Char(' ') + dt.time().toString(QStringLiteral("HH:mm:ss"));
}

void GraphLines::BuildRfGraphLines(const TMeasurementSet& radioSet, const TRfLoggerArray& loggers,
                                   int selectedRfLogger) {
  RfTimeLines.clear();
  RfSensorLines.clear();
  const size_t n = loggers.size();
  RfTimeLines.resize(n);
  RfSensorLines.resize(n);
  for (size_t i = 0; i < n; ++i) {
    createLines(RfTimeLines[i], GraphLineKind::Time, static_cast<size_t>(std::max(0, loggers[i].SensorCount)));
    createLines(RfSensorLines[i], GraphLineKind::Sensor,
                static_cast<size_t>(radioSet.measurementCount(static_cast<int>(i), 0)));
  }
  FillRfGraphLines(radioSet, selectedRfLogger);
}

void GraphLines::FillRfGraphLines(const TMeasurementSet& radioSet, int logger) {
  if (!radioSet.hasData(logger) || logger >= static_cast<int>(RfTimeLines.size())) return;
  fillLines(radioSet, logger, RfTimeLines[static_cast<size_t>(logger)], RfSensorLines[static_cast<size_t>(logger)]);
}

void GraphLines::BuildUsbGraphLines(const TMeasurementSet& usbSet, bool haveLogger, int usbSensorCount,
                                    const std::function<void()>& fillTable) {
  UsbTimeLines.clear();
  UsbSensorLines.clear();
  if (!haveLogger) return;
  createLines(UsbTimeLines, GraphLineKind::Time, static_cast<size_t>(std::max(0, usbSensorCount)));
  const int measurements = usbSet.measurementCount(0, 0);
  if (measurements <= 0) return;
  createLines(UsbSensorLines, GraphLineKind::Sensor, static_cast<size_t>(measurements));
  if (fillTable) fillTable();
  FillUsbGraphLines(usbSet);
}

void GraphLines::FillUsbGraphLines(const TMeasurementSet& usbSet) {
  if (!usbSet.hasData(0)) return;
  fillLines(usbSet, 0, UsbTimeLines, UsbSensorLines);
}

void GraphLines::fillLines(const TMeasurementSet& set, int logger, TGraphLineArray& timeLines,
                           TGraphLineArray& sensorLines) {
  const auto L = static_cast<size_t>(logger);
  // A refill starts from empty lines: refilling the same logger (another row and back, or
  // the other presentation) must not add its points twice.
  for (auto& line : timeLines) line->clearPoints();
  for (auto& line : sensorLines) line->clearPoints();
  const QString dateFormat = QLocale().dateFormat(QLocale::ShortFormat);

  for (size_t k = 0; k < set.TkSn[L].size(); ++k) {
    const auto& distances = set.Distance[L][k];
    const auto& times = set.MeasTime[L][k];
    const auto& temps = set.Temp[L][k];
    const uint8_t type = set.TkType[L][k];
    for (size_t s = 0; s < distances.size(); ++s) {
      TGraphLine& timeLine = lineAt(timeLines, GraphLineKind::Time, s);
      timeLine.setTitle(TimeLineTitle(type, distances[s]));
      timeLine.reserve(static_cast<size_t>(timeLine.count()) + times.size());
    }
    for (size_t m = 0; m < times.size(); ++m) {
      TGraphLine& sensorLine = lineAt(sensorLines, GraphLineKind::Sensor, m);
      sensorLine.setTitle(SensorLineTitle(times[m], dateFormat));
      sensorLine.clearPoints();
      sensorLine.reserve(distances.size());
      for (size_t s = 0; s < distances.size(); ++s) {
        const int16_t v = temps[s][m];
        if (v == NoTempValue) continue;
        AddTimePoint(lineAt(timeLines, GraphLineKind::Time, s), v / 100.0, times[m]);
        AddSensorPoint(sensorLine, SensorLabelNumber(distances[s]), v / 100.0);
      }
      // Sensor lines carry no closing gap point: each is a line of its own on the chart,
      // and an undrawn point at (count, 0) would only stretch every fit to 0.
    }
  }
}

void GraphLines::AddTimePoint(TGraphLine& line, double value, double time) {
  const bool first = line.count() == 0;
  line.addPoint(time, value);
  GraphContent* chart = line.chart();
  if (!first || !chart) return;
  chart->ViewAll();
  GraphScales& s = chart->scales;
  if (time <= s.x.min || time >= s.x.max) {
    const double span = s.x.span();
    s.x.min = time - span / 10;
    s.x.max = s.x.min + span;
  }
  if (value <= s.y.min || value >= s.y.max) {
    const double span = s.y.span();
    s.y = {value - span / 2, value + span / 2};
  }
}

void GraphLines::AddSensorPoint(TGraphLine& line, int labelNumber, double value) {
  line.addPoint(value, static_cast<double>(labelNumber));
}

void GraphLines::DetachRfGraphLines() {
  for (auto* page : {&RfTimeLines, &RfSensorLines})
    for (auto& lines : *page)
      for (auto& line : lines)
        if (line->chart()) line->chart()->detach(line.get());
}

void GraphLines::DetachUsbGraphLines() {
  for (auto* lines : {&UsbTimeLines, &UsbSensorLines})
    for (auto& line : *lines)
      if (line->chart()) line->chart()->detach(line.get());
}

bool GraphLines::ShowRfGraph(const TMeasurementSet& radioSet, const TRfLoggerArray& loggers, int selectedRfLogger,
                             GraphPresentation presentation) {
  DetachUsbGraphLines();
  if (!radioSet.hasData(selectedRfLogger)) return false;
  if (window_) window_->setBusyCursor(true);
  DetachRfGraphLines();
  const auto i = static_cast<size_t>(selectedRfLogger);
  auto& arrays = presentation == GraphPresentation::ByTime ? RfTimeLines : RfSensorLines;
  TGraphLineArray* lines = i < arrays.size() ? &arrays[i] : nullptr;
  const QString id = i < loggers.size() ? loggers[i].LoggerId : QString();
  return show(lines, id, presentation, true);
}

bool GraphLines::ShowUsbGraph(const TMeasurementSet& usbSet, const QString& usbLoggerId,
                              GraphPresentation presentation) {
  DetachRfGraphLines();
  if (!usbSet.hasData(0)) return false;
  DetachUsbGraphLines();
  auto* lines = presentation == GraphPresentation::ByTime ? &UsbTimeLines : &UsbSensorLines;
  return show(lines, usbLoggerId, presentation, false);
}

bool GraphLines::show(TGraphLineArray* lines, const QString& loggerId, GraphPresentation presentation,
                      bool busyCursor) {
  if (!window_) return false;
  GraphContent& chart = window_->content();
  int attached = 0;
  if (lines)
    for (auto& line : *lines)
      if (line->count() > 0) {
        chart.attach(line.get());
        ++attached;
      }
  if (presentation == GraphPresentation::ByTime) {
    chart.caption = QStringLiteral("График для логгера ") + loggerId + QStringLiteral(" по времени");
    chart.setTimeGraph();
  } else {
    chart.caption = QStringLiteral("График для логгера ") + loggerId + QStringLiteral(" по № датчика");
    chart.setSensorGraph();
  }
  window_->setRangeGroupVisible(true);
  if (attached == 0) {
    if (busyCursor) window_->setBusyCursor(false);
    return false;
  }
  if (window_->isShowing()) window_->closeWindow();
  window_->showWindow();
  return true;
}

void GraphLines::ActionShowGraphicExecute(GraphPage page, const TMeasurementSet& radioSet,
                                          const TRfLoggerArray& loggers, int selectedRfLogger,
                                          GraphPresentation rfPresentation, const TMeasurementSet& usbSet,
                                          const QString& usbLoggerId, GraphPresentation usbPresentation) {
  switch (page) {
    case GraphPage::Usb: ShowUsbGraph(usbSet, usbLoggerId, usbPresentation); break;
    case GraphPage::Radio: ShowRfGraph(radioSet, loggers, selectedRfLogger, rfPresentation); break;
    case GraphPage::Settings: break;
  }
}
