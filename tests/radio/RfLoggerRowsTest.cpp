#include <QSignalSpy>

#include <ctime>

#include <gtest/gtest.h>

#include "app/Clock.h"
#include "app/DateTimeValue.h"
#include "data/MeasurementSet.h"
#include "radio/RfLoggerRows.h"

namespace {
TRfLoggerArray twoLoggers() {
  TRfLoggerArray list(2);
  list[0].LoggerId = "D122SN00017";
  list[1].LoggerId = "D123SN00002";
  list[1].Selected = false;
  list[0].Status = 4;
  return list;
}

struct Rows {
  TRfLoggerArray list = twoLoggers();
  RfLoggerRows rows{list};
  TMeasurementSet set;
  QStringList trace;
  ManualClock clock{QDateTime(QDate(2026, 3, 5), QTime(10, 11, 12, 345))};

  Rows() {
    rows.setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    rows.setClock(clock);
    rows.setTraceSink([this](const QString& line) { trace << line; });
    rows.FillDevList(set);
    rows.ShowListRows();
  }
};
}  // namespace

TEST(RfLoggerRows, FillDevListCreatesIndicatorsAndShapesTheSet) {
  Rows r;
  EXPECT_EQ(r.trace, QStringList{"05/03/2026 10:11:12.345: in FillDevList"});
  EXPECT_EQ(r.list[0].Status, 0);
  EXPECT_EQ(r.set.loggerCount(), 2);
  EXPECT_EQ(r.set.tkCount(1), 1);
  EXPECT_TRUE(r.set.isConsistent());
  ASSERT_TRUE(r.rows.hasIndicators(1));
  const RfLoggerIndicators& ind = r.rows.indicators(1);
  EXPECT_EQ(ind.statusDot, RfLoggerIndicators::Dot::Black);
  EXPECT_EQ(ind.statusHint, QString::fromUtf8("Логгер не опрашивался"));
  EXPECT_FALSE(ind.errorVisible);
  EXPECT_EQ(ind.errorHint, QString::fromUtf8("Нет ошибок"));
  EXPECT_FALSE(ind.antennaVisible);
  EXPECT_FALSE(ind.barVisible);
  EXPECT_EQ(ind.batteryPicture, -1);
  // The box shows the flag, which a rebuild leaves alone.
  EXPECT_TRUE(r.rows.selected(0));
  EXPECT_FALSE(r.rows.selected(1));

  EXPECT_EQ(r.rows.rowCount(), 2);
  EXPECT_EQ(r.rows.cell(0, 0), "     D122SN00017");
  EXPECT_EQ(r.rows.cell(0, 1), QString::fromUtf8("ТКЛ-1/100 РМ"));
  for (int c = 2; c < RfLoggerRows::ColumnCount; ++c) EXPECT_TRUE(r.rows.cell(0, c).isEmpty());

  r.rows.FreeDevList();
  EXPECT_EQ(r.trace.last(), "05/03/2026 10:11:12.345: in FreeDevList");
  EXPECT_FALSE(r.rows.hasIndicators(0));
}

TEST(RfLoggerRows, ReactionsToLoggerMessages) {
  Rows r;
  QSignalSpy changed(&r.rows, &RfLoggerRows::rowChanged);

  EXPECT_EQ(r.rows.OnDevStatus(1, 1), QString::fromUtf8("Логгер не обнаружен"));
  EXPECT_EQ(r.list[1].Status, 1);
  EXPECT_EQ(r.rows.indicators(1).statusDot, RfLoggerIndicators::Dot::Red);
  EXPECT_TRUE(r.rows.indicators(1).antennaVisible);
  EXPECT_EQ(r.rows.indicators(1).antennaHint, QString::fromUtf8("Нет сигнала"));
  EXPECT_EQ(r.rows.OnDevStatus(1, 3), QString::fromUtf8("Загрузка измерений выполнена частично"));
  EXPECT_EQ(r.rows.indicators(1).statusDot, RfLoggerIndicators::Dot::Green);
  EXPECT_TRUE(r.rows.OnDevStatus(1, 7).isEmpty());
  EXPECT_EQ(r.list[1].Status, 7);

  r.rows.OnSignal(1, 0xB4);
  EXPECT_EQ(r.list[1].SignalLevel, -112.0);
  EXPECT_EQ(r.rows.indicators(1).barHint, "-112dBm");
  EXPECT_EQ(r.rows.indicators(1).antennaHint, "-112dBm");
  EXPECT_TRUE(r.rows.indicators(1).barVisible);
  r.rows.OnSignal(1, 0x01);
  EXPECT_EQ(r.rows.indicators(1).barHint, "-73,5dBm");
  r.rows.OnSignal(1, 0x00);
  EXPECT_EQ(r.rows.indicators(1).barWidth, 23);

  r.rows.OnErrorCode(0, 13);
  EXPECT_EQ(r.list[0].ErrorText, QString::fromUtf8("Неизвестная ошибка"));
  EXPECT_EQ(r.rows.indicators(0).errorHint, QString::fromUtf8("Неизвестная ошибка"));
  EXPECT_EQ(r.rows.cell(0, 8), "     13");
  EXPECT_TRUE(r.rows.indicators(0).errorVisible);
  EXPECT_FALSE(r.rows.indicators(0).errorGreen);
  r.rows.OnErrorCode(0, 0);
  EXPECT_TRUE(r.rows.indicators(0).errorGreen);

  r.rows.OnVoltage(0, 360);
  EXPECT_EQ(r.list[0].BatteryVolts, 3.6);
  EXPECT_EQ(r.rows.cell(0, 7), "3,6");
  EXPECT_EQ(r.rows.indicators(0).batteryPicture, 17);
  EXPECT_EQ(r.rows.indicators(0).batteryHint, QString::fromUtf8("3,6 В"));
  r.rows.OnVoltage(1, 751);
  EXPECT_EQ(r.rows.indicators(1).batteryPicture, 0);
  EXPECT_EQ(r.rows.indicators(1).batteryHint, QString::fromUtf8("неизвестно"));

  r.rows.OnSensors(0, (54321u << 16) | 0x1240u);  // only the low 8 bits count sensors
  EXPECT_EQ(r.list[0].TkSerial, 54321);
  EXPECT_EQ(r.list[0].SensorCount, 0x40);
  EXPECT_EQ(r.rows.cell(0, 2), "54321");
  EXPECT_EQ(r.rows.cell(0, 3), "64");

  r.rows.OnPeriodCount(0, 0xAB180102u);  // period bits 16..23, count low 16 bits
  EXPECT_EQ(r.list[0].PeriodHours, 0x18);
  EXPECT_EQ(r.list[0].StoredCount, 0x0102);
  EXPECT_EQ(r.rows.cell(0, 4), "24");
  EXPECT_EQ(r.rows.cell(0, 5), "258");

  r.rows.OnDevStatus(1, 0);
  EXPECT_FALSE(r.rows.indicators(1).antennaVisible);
  EXPECT_FALSE(r.rows.indicators(1).barVisible);
  EXPECT_GT(changed.count(), 10);

  // Messages for loggers that are not in the list change nothing.
  r.rows.OnVoltage(5, 300);
  r.rows.OnSignal(-1, 0);
  EXPECT_TRUE(r.rows.OnDevStatus(2, 4).isEmpty());
  EXPECT_EQ(r.list.size(), 2u);
}

TEST(RfLoggerRows, HideErrorsAndBatteriesKeepsTheRest) {
  Rows r;
  r.rows.OnErrorCode(0, 2);
  r.rows.OnVoltage(0, 600);
  r.rows.OnDevStatus(0, 4);
  r.rows.HideErrorsAndBatteries();
  EXPECT_FALSE(r.rows.indicators(0).errorVisible);
  EXPECT_EQ(r.rows.indicators(0).batteryPicture, -1);
  EXPECT_EQ(r.rows.indicators(0).statusDot, RfLoggerIndicators::Dot::Lime);
}

TEST(RfLoggerRows, ShowRadioDataForDownloadAndFile) {
  Rows r;
  r.set.TkSn[0][0] = 321;
  const int16_t values[2] = {100, 200};
  r.set.Distance[0][0] = {100, 200};
  r.set.Temp[0][0].resize(2);
  r.set.appendMeasurement(0, 0, 46000.5, 600, values);
  r.list[0].Status = 4;
  r.list[0].SensorCount = 2;
  r.list[0].PeriodHours = 8;
  r.list[0].StoredCount = 17;
  r.list[0].ClockTime = *DateTimeValue::encode(2026, 2, 1, 13, 5, 9);
  r.list[0].BatteryVolts = 6.1;
  r.list[0].ErrorCode = 3;
  r.list[1].Status = 1;

  r.rows.ShowRadioData(r.set, false);
  EXPECT_EQ(r.rows.cell(0, 2), "321");
  EXPECT_EQ(r.rows.cell(0, 3), "2");
  EXPECT_EQ(r.rows.cell(0, 4), "8");
  EXPECT_EQ(r.rows.cell(0, 5), "17");
  EXPECT_EQ(r.rows.cell(0, 6), "01.02.26 13:05:09");
  EXPECT_EQ(r.rows.cell(0, 7), "6,1");
  EXPECT_EQ(r.rows.cell(0, 8), "     3");
  for (int c = 2; c <= 8; ++c) EXPECT_TRUE(r.rows.cell(1, c).isEmpty()) << c;

  r.rows.ShowRadioData(r.set, true);
  EXPECT_EQ(r.rows.cell(0, 0), "     D122SN00017");
  EXPECT_EQ(r.rows.cell(0, 2), "321");
  EXPECT_EQ(r.rows.cell(0, 3), "2");
  EXPECT_TRUE(r.rows.cell(0, 4).isEmpty());
  EXPECT_EQ(r.rows.cell(0, 5), "1");
  EXPECT_TRUE(r.rows.cell(0, 6).isEmpty());
  EXPECT_TRUE(r.rows.cell(0, 8).isEmpty());
  EXPECT_EQ(r.rows.cell(1, 2), "0");

  // A set without the logger's strings gives empty columns instead of reading past it.
  TMeasurementSet empty;
  r.rows.ShowRadioData(empty, true);
  EXPECT_TRUE(r.rows.cell(1, 2).isEmpty());
  EXPECT_TRUE(r.rows.cell(1, 3).isEmpty());
}

TEST(RfLoggerRows, ClockTimeInsideADaylightSavingGapIsShown) {
  // 31.03.2024 02:30 does not exist as local time where clocks jump from 02:00 to 03:00; the
  // logger's clock still reads it and the grid must show it.
  const QByteArray oldTz = qgetenv("TZ");
  const bool hadTz = qEnvironmentVariableIsSet("TZ");
  qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
  tzset();
  Rows r;
  r.list[0].Status = 4;
  r.list[0].ClockTime = *DateTimeValue::encode(2024, 3, 31, 2, 30, 0);
  r.rows.ShowRadioData(r.set, false);
  const QString shown = r.rows.cell(0, 6);
  if (hadTz)
    qputenv("TZ", oldTz);
  else
    qunsetenv("TZ");
  tzset();
  EXPECT_EQ(shown, "31.03.24 02:30:00");
}

TEST(RfLoggerRows, SelectionFlagAndCurrentRow) {
  Rows r;
  QSignalSpy changed(&r.rows, &RfLoggerRows::rowChanged);
  r.rows.setSelected(1, true);
  EXPECT_TRUE(r.list[1].Selected);
  r.rows.setCurrentDevRow(1);
  EXPECT_EQ(r.rows.currentDevRow(), 1);
  r.rows.setCurrentDevRow(-1);
  EXPECT_EQ(changed.count(), 3);
}
