#include <gtest/gtest.h>

#include "app/DateTimeValue.h"
#include "data/DataTableLayout.h"
#include "data/MeasurementSet.h"

namespace {
const QLocale kRussian(QLocale::Russian, QLocale::Russia);

// One logger, one string of three sensors (labels 1, 2 and 4) and two measurements.
TMeasurementSet smallSet(uint8_t type = 1) {
  TMeasurementSet set;
  set.reset(1);
  set.clearFirstString(0);
  set.TkType[0][0] = type;
  set.Distance[0][0] = {100, 250, 350};
  set.Temp[0][0].resize(3);
  const int16_t first[3] = {2150, -5, NoTempValue};
  const int16_t second[3] = {2501, 0, -1};
  set.appendMeasurement(0, 0, *DateTimeValue::encode(2026, 1, 2, 3, 4, 5), 360, first);
  set.appendMeasurement(0, 0, *DateTimeValue::encode(2026, 1, 2, 11, 4, 5), 1234, second);
  return set;
}
}  // namespace

TEST(DataTableLayout, HundredthsText) {
  const struct {
    int value;
    const char* text;
  } cases[] = {{2150, "21.5"}, {-5, "-0.05"}, {360, "3.6"}, {0, "0"}, {-27299, "-272.99"},
               {100, "1"},     {-100, "-1"},  {7, "0.07"},  {32767, "327.67"}, {-32768, "-327.68"}};
  for (const auto& c : cases) EXPECT_EQ(DataTableLayout::HundredthsText(c.value, "."), c.text) << c.value;
  EXPECT_EQ(DataTableLayout::HundredthsText(-5, ","), "-0,05");
}

TEST(DataTableLayout, ByTimeTextsAndHeadings) {
  const TMeasurementSet set = smallSet();
  DataTableLayout layout(kRussian);
  layout.Build(&set, 0, DataTableView::ByTime, true);
  EXPECT_EQ(layout.rowCount(), 2);
  EXPECT_EQ(layout.columnCount(), 6);
  EXPECT_EQ(layout.gridColumnCount(), 6);
  const QStringList headings{QString::fromUtf8("№ п.п."), QString::fromUtf8("Дата, время"), QString::fromUtf8("U бат."),
                             "1", "2", "4"};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(layout.Heading(c), headings[c]) << c;
  EXPECT_EQ(layout.CellText(0, 0), "1");
  EXPECT_EQ(layout.CellText(1, 0), "2");
  // The line break of the radio table belongs to the layout by sensor only.
  EXPECT_EQ(layout.CellText(0, 1), "02.01.2026 03:04:05");
  EXPECT_EQ(layout.CellText(0, 2), "3,6");
  EXPECT_EQ(layout.CellText(1, 2), "12,34");
  EXPECT_EQ(layout.CellText(0, 3), "21,5");
  EXPECT_EQ(layout.CellText(0, 4), "-0,05");
  EXPECT_EQ(layout.CellText(0, 5), "");  // no value
  EXPECT_EQ(layout.CellText(1, 5), "-0,01");
  EXPECT_EQ(layout.CellText(2, 0), "");
  EXPECT_EQ(layout.CellText(0, 6), "");
}

TEST(DataTableLayout, BySensorTextsAndDateLineBreak) {
  const TMeasurementSet set = smallSet();
  DataTableLayout layout(kRussian);
  layout.Build(&set, 0, DataTableView::BySensor, true);
  EXPECT_EQ(layout.rowCount(), 6);
  EXPECT_EQ(layout.columnCount(), 2);
  EXPECT_EQ(layout.gridColumnCount(), 3);
  EXPECT_EQ(layout.Heading(0), QString::fromUtf8("№ замера"));
  EXPECT_EQ(layout.Heading(1), QString::fromUtf8("Дата,\r\nвремя"));
  EXPECT_EQ(layout.Heading(2), QString::fromUtf8("U бат."));
  EXPECT_EQ(layout.Heading(5), "4");
  EXPECT_EQ(layout.CellText(0, 1), "2");
  EXPECT_EQ(layout.CellText(1, 1), "02.01.2026\r\n11:04:05");
  EXPECT_EQ(layout.CellText(3, 1), "25,01");
  layout.Build(&set, 0, DataTableView::BySensor, false);
  EXPECT_EQ(layout.CellText(1, 1), "02.01.2026 11:04:05");
}

TEST(DataTableLayout, ProbeHeadingsByQuantityKind) {
  TMeasurementSet set = smallSet(4);
  set.Distance[0][0] = {0, 300, 700};
  DataTableLayout layout(kRussian);
  layout.Build(&set, 0, DataTableView::ByTime, false);
  EXPECT_EQ(layout.Heading(3), QString::fromUtf8("To, °C"));
  EXPECT_EQ(layout.Heading(4), QString::fromUtf8("DP, °C"));
  EXPECT_EQ(layout.Heading(5), "7");  // an unknown kind keeps its number
}

TEST(DataTableLayout, NoDataShowsHeadingsOnly) {
  TMeasurementSet set;
  set.reset(2);
  DataTableLayout layout(kRussian);
  for (int logger : {-1, 0, 5}) {
    layout.Build(&set, logger, DataTableView::ByTime, true);
    EXPECT_EQ(layout.rowCount(), 0);
    EXPECT_EQ(layout.columnCount(), 3);
    layout.Build(&set, logger, DataTableView::BySensor, true);
    EXPECT_EQ(layout.rowCount(), 3);
    EXPECT_EQ(layout.columnCount(), 0);
    EXPECT_EQ(layout.gridColumnCount(), 2);
  }
  layout.Build(nullptr, 0, DataTableView::ByTime, true);
  EXPECT_EQ(layout.rowCount(), 0);
}

TEST(DataTableLayout, LaterStringsCoverEarlierOnes) {
  TMeasurementSet set = smallSet();
  const int16_t values[2] = {-100, 4200};
  const int t = set.addString(0, 7, 1, {500, 600});
  set.appendMeasurement(0, t, *DateTimeValue::encode(2026, 5, 6), 700, values);
  DataTableLayout layout(QLocale::c());
  layout.Build(&set, 0, DataTableView::ByTime, false);
  EXPECT_EQ(layout.rowCount(), 1);  // the last string's measurements
  EXPECT_EQ(layout.columnCount(), 5);
  EXPECT_EQ(layout.Heading(3), "5");
  EXPECT_EQ(layout.CellText(0, 2), "7");
  EXPECT_EQ(layout.CellText(0, 3), "-1");
  EXPECT_EQ(layout.CellText(0, 4), "42");

  // A last string without measurements keeps the earlier measurement count and cells.
  set.addString(0, 8, 1, {900});
  layout.Build(&set, 0, DataTableView::ByTime, false);
  EXPECT_EQ(layout.rowCount(), 1);
  EXPECT_EQ(layout.columnCount(), 4);
  EXPECT_EQ(layout.Heading(3), "9");
  EXPECT_EQ(layout.CellText(0, 3), "-1");
}

TEST(DataTableLayout, SetEmptiedBeforeRefillShowsEmptyCells) {
  TMeasurementSet set = smallSet();
  DataTableLayout layout(kRussian);
  layout.Build(&set, 0, DataTableView::ByTime, false);
  set.clearFirstString(0);
  EXPECT_EQ(layout.CellText(1, 3), "");
  EXPECT_EQ(layout.CellText(1, 1), "");
  EXPECT_FALSE(layout.OutOfRange(1, 3, 0, 25));
  set.clear();
  EXPECT_EQ(layout.CellText(0, 0), "");
  EXPECT_EQ(layout.Heading(3), "");
}

TEST(DataTableLayout, HighlightRule) {
  EXPECT_FALSE(DataTableLayout::ValueOutOfRange(2500, 0, 25));
  EXPECT_FALSE(DataTableLayout::ValueOutOfRange(0, 0, 25));
  EXPECT_TRUE(DataTableLayout::ValueOutOfRange(2501, 0, 25));
  EXPECT_TRUE(DataTableLayout::ValueOutOfRange(-1, 0, 25));
  EXPECT_FALSE(DataTableLayout::ValueOutOfRange(NoTempValue, 0, 25));
  EXPECT_FALSE(DataTableLayout::ValueOutOfRange(NoTempValue, 0, 0));
  EXPECT_TRUE(DataTableLayout::ValueOutOfRange(1, 0, 0));  // both limits 0: every non-zero value
  EXPECT_FALSE(DataTableLayout::ValueOutOfRange(2501, 0, 25.01));

  const TMeasurementSet set = smallSet();
  DataTableLayout layout(kRussian);
  layout.Build(&set, 0, DataTableView::ByTime, false);
  EXPECT_FALSE(layout.OutOfRange(0, 3, 0, 25));  // 21.5
  EXPECT_TRUE(layout.OutOfRange(0, 4, 0, 25));   // -0.05
  EXPECT_FALSE(layout.OutOfRange(0, 5, 0, 25));  // empty
  EXPECT_TRUE(layout.OutOfRange(1, 3, 0, 25));   // 25.01
  EXPECT_FALSE(layout.OutOfRange(1, 4, 0, 25));  // 0
  EXPECT_FALSE(layout.OutOfRange(1, 2, 0, 5));   // voltage is never highlighted
  layout.Build(&set, 0, DataTableView::BySensor, false);
  EXPECT_TRUE(layout.OutOfRange(3, 1, 0, 25));
  EXPECT_FALSE(layout.OutOfRange(0, 1, 0, 1));  // the number row
}

TEST(DataTableLayout, SizingRule) {
  using V = DataTableView;
  // By time: a = (c - 1) x 41 + 110
  EXPECT_EQ(DataTableLayout::SizingRule(V::ByTime, 500, 6), (DataTableWidths{63, 174}));  // a = 315
  EXPECT_EQ(DataTableLayout::SizingRule(V::ByTime, 315, 6), (DataTableWidths{40, 110}));
  EXPECT_EQ(DataTableLayout::SizingRule(V::ByTime, 300, 67), (DataTableWidths{40, 110}));
  // By sensor: c x 61 < w
  EXPECT_EQ(DataTableLayout::SizingRule(V::BySensor, 500, 3), (DataTableWidths{163, 163}));  // 500 x 60 / 183
  EXPECT_EQ(DataTableLayout::SizingRule(V::BySensor, 183, 3), (DataTableWidths{60, 60}));
  EXPECT_EQ(DataTableLayout::SizingRule(V::BySensor, 800, 100001), (DataTableWidths{60, 60}));
}

TEST(DataTableLayout, SelectionText) {
  const auto cell = [](int r, int c) { return QStringLiteral("%1%2").arg(r).arg(c); };
  EXPECT_EQ(DataTableLayout::SelectionText(1, 2, 3, 5, cell), "13\t14\t15\t\r\n23\t24\t25\t\r\n");
  EXPECT_EQ(DataTableLayout::SelectionText(0, 0, 0, 0, cell), "00\t\r\n");
  EXPECT_EQ(DataTableLayout::SelectionText(2, 1, 0, 0, cell), "");
}
