#include <gtest/gtest.h>

#include "app/Clock.h"
#include "app/DateTimeValue.h"
#include "graph/GraphContent.h"
#include "graph/GraphLines.h"

namespace {

// Records what the show operations ask of the graph window.
class FakeGraphWindow : public GraphWindowView {
 public:
  ManualClock clock{QDateTime(QDate(2026, 3, 10), QTime(14, 25, 37))};
  GraphContent chart{clock};
  bool showing = false;
  bool busy = false;
  bool rangeGroupVisible = false;
  QStringList calls;

  GraphContent& content() override { return chart; }
  bool isShowing() const override { return showing; }
  void closeWindow() override {
    calls << "close";
    showing = false;
  }
  void showWindow() override {
    calls << "show";
    showing = true;
    busy = false;
  }
  void setRangeGroupVisible(bool v) override { rangeGroupVisible = v; }
  void setBusyCursor(bool b) override {
    busy = b;
    calls << (b ? "busy" : "normal");
  }
};

constexpr double kHour = 1.0 / 24.0;

// A radio set of loggers with thermal string 0 holding the given distances and
// measurements[m][s] (hourly from day D).
struct Fixture {
  TMeasurementSet set;
  TRfLoggerArray loggers;
  double d0 = *DateTimeValue::encode(2026, 3, 10);

  void addLogger(const QString& id, uint8_t type, std::vector<int16_t> distances,
                 const std::vector<std::vector<int16_t>>& measurements) {
    const int i = set.loggerCount();
    TMeasurementSet grown = set;
    grown.reset(i + 1);
    for (int k = 0; k < i; ++k) {
      grown.TkSn[k] = set.TkSn[k];
      grown.TkType[k] = set.TkType[k];
      grown.Distance[k] = set.Distance[k];
      grown.MeasTime[k] = set.MeasTime[k];
      grown.BatteryVoltage[k] = set.BatteryVoltage[k];
      grown.Temp[k] = set.Temp[k];
    }
    set = grown;
    set.TkSn[i].clear();
    set.TkType[i].clear();
    set.Distance[i].clear();
    set.MeasTime[i].clear();
    set.BatteryVoltage[i].clear();
    set.Temp[i].clear();
    const size_t sensors = distances.size();
    set.addString(i, 7, type, std::move(distances));
    for (size_t m = 0; m < measurements.size(); ++m)
      set.appendMeasurement(i, 0, d0 + static_cast<double>(m) * kHour, 360, measurements[m].data());
    TRfLogger logger;
    logger.LoggerId = id;
    logger.SensorCount = static_cast<int>(sensors);
    loggers.push_back(logger);
  }
};

}  // namespace

TEST(GraphLinesFill, ThreeSensorsFourMeasurementsGiveTitledTimeAndSensorLines) {
  Fixture f;
  f.addLogger("D122SN00017", 0, {100, 200, 300}, {{100, 200, 300}, {110, 210, 310}, {120, 220, 320}, {130, 230, 330}});
  GraphLines lines;
  lines.BuildRfGraphLines(f.set, f.loggers, 0);

  ASSERT_EQ(lines.RfTimeLines.size(), 1u);
  const auto& time = lines.RfTimeLines[0];
  const auto& sensor = lines.RfSensorLines[0];
  ASSERT_EQ(time.size(), 3u);
  ASSERT_EQ(sensor.size(), 4u);
  EXPECT_EQ(time[0]->title(), "дат.№ 1");
  EXPECT_EQ(time[2]->title(), "дат.№ 3");
  EXPECT_EQ(sensor[0]->title(), "10.03.2026 00:00:00");
  EXPECT_EQ(sensor[3]->title(), "10.03.2026 03:00:00");
  for (size_t j = 0; j < time.size(); ++j) EXPECT_EQ(time[j]->colour(), DefaultLineColor(static_cast<int>(j)));

  ASSERT_EQ(time[1]->count(), 4);
  EXPECT_DOUBLE_EQ(time[1]->xAt(3), f.d0 + 3 * kHour);
  EXPECT_DOUBLE_EQ(time[1]->yAt(3), 2.3);
  ASSERT_EQ(sensor[2]->count(), 3);  // no closing gap point
  EXPECT_DOUBLE_EQ(sensor[2]->xAt(0), 1.2);
  EXPECT_DOUBLE_EQ(sensor[2]->yAt(0), 1);
  EXPECT_DOUBLE_EQ(sensor[2]->yAt(2), 3);
  const auto e = sensor[2]->extents();
  ASSERT_TRUE(e);
  EXPECT_DOUBLE_EQ(e->minY, 1);  // a fit of this line never reaches 0
  EXPECT_DOUBLE_EQ(e->minX, 1.2);
}

TEST(GraphLinesFill, MissingValueLeavesAGapInTheTimeLineAndIsAbsentFromTheSensorLine) {
  Fixture f;
  f.addLogger("D122SN00017", 0, {100, 200}, {{100, 200}, {NoTempValue, 210}, {120, 220}});
  GraphLines lines;
  lines.BuildRfGraphLines(f.set, f.loggers, 0);
  const TGraphLine& t0 = *lines.RfTimeLines[0][0];
  ASSERT_EQ(t0.count(), 2);
  EXPECT_DOUBLE_EQ(t0.xAt(0), f.d0);
  EXPECT_DOUBLE_EQ(t0.xAt(1), f.d0 + 2 * kHour);
  const TGraphLine& s1 = *lines.RfSensorLines[0][1];
  ASSERT_EQ(s1.count(), 1);
  EXPECT_DOUBLE_EQ(s1.yAt(0), 2);
  EXPECT_DOUBLE_EQ(s1.xAt(0), 2.1);
}

TEST(GraphLinesFill, TypeFourStringsAreTitledByQuantity) {
  Fixture f;
  f.addLogger("D124SN00001", 4, {0, 100, 200, 300, 400, 500}, {{1, 2, 3, 4, 5, 6}});
  GraphLines lines;
  lines.BuildRfGraphLines(f.set, f.loggers, 0);
  QStringList titles;
  for (const auto& l : lines.RfTimeLines[0]) titles << l->title();
  EXPECT_EQ(titles, (QStringList{"To, °C", "RH, %", "AH, g/m", "DP, °C", "Pa, mm", ""}));
}

TEST(GraphLinesFill, RefillingALoggerDoesNotDuplicateItsPoints) {
  Fixture f;
  f.addLogger("D122SN00017", 0, {100}, {{100}, {110}});
  f.addLogger("D122SN00018", 0, {100}, {{500}});
  GraphLines lines;
  lines.BuildRfGraphLines(f.set, f.loggers, 0);
  lines.FillRfGraphLines(f.set, 1);
  lines.FillRfGraphLines(f.set, 0);
  EXPECT_EQ(lines.RfTimeLines[0][0]->count(), 2);
  EXPECT_EQ(lines.RfTimeLines[1][0]->count(), 1);
}

TEST(GraphLinesFill, UnsortedTimesAreKeptInAscendingOrder) {
  GraphLines lines;
  TGraphLine line(GraphLineKind::Time, {}, 0);
  GraphLines::AddTimePoint(line, 1.0, 30.0);
  GraphLines::AddTimePoint(line, 2.0, 10.0);
  GraphLines::AddTimePoint(line, 3.0, 20.0);
  EXPECT_EQ(line.keys(), (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(line.values(), (std::vector<double>{2, 3, 1}));
}

TEST(GraphLinesShow, RadioBySensorSetsCaptionAxesAndAttachesOnlyLinesWithPoints) {
  Fixture f;
  f.addLogger("D122SN00017", 0, {100, 200}, {{100, 200}, {NoTempValue, NoTempValue}, {120, 220}});
  FakeGraphWindow window;
  GraphLines lines(&window);
  lines.BuildRfGraphLines(f.set, f.loggers, 0);

  EXPECT_TRUE(lines.ShowRfGraph(f.set, f.loggers, 0, GraphPresentation::BySensor));
  EXPECT_EQ(window.chart.caption, "График для логгера D122SN00017 по № датчика");
  EXPECT_EQ(window.chart.bottomTitle, QString::fromUtf8("Температура, °\xD0\xA1"));  // Cyrillic Es
  EXPECT_EQ(window.chart.leftTitle, "Датчик, №\n");
  EXPECT_EQ(window.chart.kind(), GraphKind::Sensor);
  EXPECT_EQ(window.chart.unitSuffix(), QString::fromUtf8(" °\xD0\xA1"));
  ASSERT_EQ(window.chart.lineCount(), 2);  // the all-missing measurement stays off
  EXPECT_EQ(window.chart.lines()[1], lines.RfSensorLines[0][2].get());
  EXPECT_TRUE(window.rangeGroupVisible);
  EXPECT_EQ(window.calls, (QStringList{"busy", "show"}));

  window.calls.clear();
  EXPECT_TRUE(lines.ShowRfGraph(f.set, f.loggers, 0, GraphPresentation::ByTime));
  EXPECT_EQ(window.chart.caption, "График для логгера D122SN00017 по времени");
  EXPECT_EQ(window.chart.leftTitle, QString::fromUtf8("Температура, °\xD0\xA1\n"));
  EXPECT_EQ(window.chart.kind(), GraphKind::Time);
  EXPECT_EQ(window.chart.lineCount(), 2);
  EXPECT_EQ(window.calls, (QStringList{"busy", "close", "show"}));
}

TEST(GraphLinesShow, NothingToShowLeavesTheWindowAndRestoresTheCursor) {
  Fixture f;
  f.addLogger("D122SN00017", 0, {100}, {{100}});
  f.addLogger("D122SN00018", 0, {}, {});
  FakeGraphWindow window;
  GraphLines lines(&window);
  lines.BuildRfGraphLines(f.set, f.loggers, 0);
  EXPECT_FALSE(lines.ShowRfGraph(f.set, f.loggers, 1, GraphPresentation::ByTime));  // no data
  EXPECT_TRUE(window.calls.isEmpty());

  for (auto& l : lines.RfTimeLines[0]) l->clearPoints();  // as after "Очистить график"
  EXPECT_FALSE(lines.ShowRfGraph(f.set, f.loggers, 0, GraphPresentation::ByTime));
  EXPECT_EQ(window.calls, (QStringList{"busy", "normal"}));
  EXPECT_EQ(window.chart.lineCount(), 0);
}

TEST(GraphLinesShow, UsbShowDetachesRadioLinesAndRebuildingDetachesDestroyedLines) {
  Fixture f;
  f.addLogger("D122SN00017", 0, {100, 200}, {{100, 200}});
  FakeGraphWindow window;
  GraphLines lines(&window);
  lines.BuildRfGraphLines(f.set, f.loggers, 0);
  lines.ShowRfGraph(f.set, f.loggers, 0, GraphPresentation::ByTime);
  ASSERT_EQ(window.chart.lineCount(), 2);

  TMeasurementSet usb;
  usb.reset(1);
  usb.clearFirstString(0);
  usb.Distance[0][0] = {100, 200, 300};
  usb.Temp[0][0].resize(3);
  const int16_t values[] = {-500, -400, NoTempValue};
  usb.appendMeasurement(0, 0, f.d0, 360, values);
  bool tableFilled = false;
  lines.BuildUsbGraphLines(usb, true, 3, [&] { tableFilled = true; });
  EXPECT_TRUE(tableFilled);
  ASSERT_EQ(lines.UsbTimeLines.size(), 3u);
  lines.ActionShowGraphicExecute(GraphPage::Usb, f.set, f.loggers, 0, GraphPresentation::ByTime, usb, "D121SN00005",
                                 GraphPresentation::ByTime);
  EXPECT_EQ(window.chart.caption, "График для логгера D121SN00005 по времени");
  ASSERT_EQ(window.chart.lineCount(), 2);
  EXPECT_EQ(window.chart.lines()[0], lines.UsbTimeLines[0].get());

  lines.BuildUsbGraphLines(usb, false, 3);  // logger gone: lines destroyed and off the chart
  EXPECT_EQ(window.chart.lineCount(), 0);
  EXPECT_TRUE(lines.UsbTimeLines.empty());
}

TEST(GraphLinesAddTimePoint, FirstPointOfAnAttachedLineFitsTheChart) {
  ManualClock clock;
  GraphContent chart(clock);
  TGraphLine shown(GraphLineKind::Time, {}, 0);
  chart.attach(&shown);
  const double t = *DateTimeValue::encode(2026, 3, 10, 12);
  GraphLines::AddTimePoint(shown, 20.0, t);
  EXPECT_EQ(chart.scales.XScaleIndex, 24);
  EXPECT_NEAR(chart.scales.y.min, 19.9995, 1e-9);

  // A hidden line is not part of the fit; its first point is then brought into view.
  TGraphLine hidden(GraphLineKind::Time, {}, 0);
  hidden.setVisible(false);
  chart.attach(&hidden);
  const GraphScales before = chart.scales;
  GraphLines::AddTimePoint(hidden, 25.0, t + 1.0);
  EXPECT_NEAR(chart.scales.x.span(), before.x.span(), 1e-12);
  EXPECT_NEAR(chart.scales.x.min, t + 1.0 - before.x.span() / 10, 1e-9);
  EXPECT_NEAR((chart.scales.y.min + chart.scales.y.max) / 2, 25.0, 1e-9);
  EXPECT_NEAR(chart.scales.y.span(), before.y.span(), 1e-12);
}

TEST(GraphContentTracking, FollowsTheLastPointOfAnExistingLineOnly) {
  ManualClock clock;
  GraphContent chart(clock);
  TGraphLine a(GraphLineKind::Time, {}, 0), b(GraphLineKind::Time, {}, 0);
  chart.attach(&a);
  chart.attach(&b);
  EXPECT_FALSE(chart.trackLine(0));
  EXPECT_FALSE(chart.trackLine(3));
  EXPECT_FALSE(chart.trackLine(2));  // no points
  b.addPoint(100.0, 5.0);
  b.addPoint(99.0, 1.0);
  chart.scales.YScaleIndex = 15;
  EXPECT_TRUE(chart.trackLine(2));
  EXPECT_EQ(chart.scales.y, (AxisRange{0, 10}));  // centred on 5, the newest time
}
