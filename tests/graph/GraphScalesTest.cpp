#include <gtest/gtest.h>

#include <QLocale>

#include "app/DateTimeValue.h"
#include "graph/GraphScales.h"

namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr double kTol = 1e-9;

double day(int y, int m, int d, int h = 0, int mi = 0, int s = 0) { return *DateTimeValue::encode(y, m, d, h, mi, s); }

}  // namespace

TEST(GraphScalesViewAll, OnePointSnapsToOneSecondAndTenThousandths) {
  GraphScales s;
  const double t = day(2026, 3, 10, 14, 25, 37);
  s.ViewAll(GraphExtents{t, t, 20.0, 20.0}, 0);
  EXPECT_EQ(s.XScaleIndex, 24);
  EXPECT_NEAR(s.x.min, t - 3 * kSecond, 1e-10);
  EXPECT_NEAR(s.x.max, t + 3 * kSecond, 1e-10);
  EXPECT_EQ(s.YScaleIndex, 27);
  EXPECT_NEAR(s.y.min, 19.9995, kTol);
  EXPECT_NEAR(s.y.max, 20.0005, kTol);
  EXPECT_FALSE(s.zoomInXEnabled);
  EXPECT_TRUE(s.zoomOutXEnabled);
}

TEST(GraphScalesViewAll, DayOfHourlyPointsTakesSixHourAndOneDegreeSteps) {
  GraphScales s;
  const double d = day(2026, 3, 10);
  s.ViewAll(GraphExtents{d, d + 1.0, -5.0, 3.0}, 0);
  EXPECT_EQ(s.XScaleIndex, 11);
  EXPECT_NEAR(s.x.min, d - 0.25, kTol);
  EXPECT_NEAR(s.x.max, d + 1.25, kTol);
  EXPECT_EQ(s.YScaleIndex, 15);
  EXPECT_NEAR(s.y.min, -6, kTol);
  EXPECT_NEAR(s.y.max, 4, kTol);
}

TEST(GraphScalesViewAll, NoVisiblePointsGivesTheDefaultScale) {
  GraphScales s;
  s.TrackingCentred = true;
  const double now = day(2026, 3, 10, 14, 25, 37);
  const double c = day(2026, 3, 10, 14, 25, 40);  // now rounded to 10 s
  s.ViewAll(std::nullopt, now);
  EXPECT_EQ(s.XScaleIndex, 23);
  EXPECT_NEAR(s.x.min, c - 50 * kSecond, 1e-10);
  EXPECT_NEAR(s.x.max, c + 10 * kSecond, 1e-10);
  EXPECT_EQ(s.YScaleIndex, 6);
  EXPECT_NEAR(s.y.min, -5000, kTol);
  EXPECT_NEAR(s.y.max, 5000, kTol);
  EXPECT_FALSE(s.TrackingCentred);
}

TEST(GraphScalesZoom, StopsAtTheFinestStepsAndTheWheelStillZoomsY) {
  GraphScales s;
  const double t = day(2026, 3, 10, 12);
  s.ViewAll(GraphExtents{t, t, 5.0, 6.0}, 0);
  ASSERT_EQ(s.XScaleIndex, 24);
  const AxisRange x = s.x;
  s.zoomInX();
  EXPECT_EQ(s.XScaleIndex, 24);
  EXPECT_EQ(s.x, x);
  EXPECT_FALSE(s.zoomInXEnabled);

  const int y = s.YScaleIndex;
  s.wheel(true);
  EXPECT_EQ(s.XScaleIndex, 24);
  EXPECT_EQ(s.YScaleIndex, y + 1);
  EXPECT_TRUE(s.zoomOutYEnabled);

  // Y down to its finest step, then no further.
  for (int i = 0; i < 40; ++i) s.zoomInY();
  EXPECT_EQ(s.YScaleIndex, 30);
  EXPECT_FALSE(s.zoomInYEnabled);
  EXPECT_NEAR(s.y.span(), 10 * 0.00001, 1e-12);
}

TEST(GraphScalesZoom, ZoomOutStopsAtTheCoarsestStep) {
  GraphScales s;
  s.x = {0, 10};
  s.ApplyXScale(true);
  for (int i = 0; i < 30; ++i) s.zoomOutX();
  EXPECT_EQ(s.XScaleIndex, 0);
  EXPECT_FALSE(s.zoomOutXEnabled);
  EXPECT_TRUE(s.zoomInXEnabled);
  EXPECT_NEAR(s.x.span(), 6 * 730.5, 1e-6);
}

TEST(GraphScalesZoom, SpanBeyondTheCoarsestStepLeavesTheAxis) {
  GraphScales s;
  s.y = {-1e7, 1e7};
  EXPECT_FALSE(s.ApplyYScale(true));
  EXPECT_EQ(s.y, (AxisRange{-1e7, 1e7}));
  EXPECT_FALSE(s.zoomOutYEnabled);
  EXPECT_TRUE(s.zoomInYEnabled);
}

TEST(GraphScalesPan, MovesOneTenthOfTheStepAndKeepsTheIndexes) {
  GraphScales s;
  s.ViewAll(GraphExtents{100.0, 101.0, -5.0, 3.0}, 0);  // 6 h and 1 °C steps
  const GraphScales before = s;
  s.panUp();
  EXPECT_NEAR(s.y.min, before.y.min - 0.1, kTol);
  EXPECT_NEAR(s.y.max, before.y.max - 0.1, kTol);
  s.panLeft();
  EXPECT_NEAR(s.x.min, before.x.min + 0.1 * 0.25, kTol);
  s.panRight();
  s.panDown();
  EXPECT_NEAR(s.x.min, before.x.min, kTol);
  EXPECT_NEAR(s.y.min, before.y.min, kTol);
  EXPECT_EQ(s.XScaleIndex, before.XScaleIndex);
  EXPECT_EQ(s.YScaleIndex, before.YScaleIndex);
}

TEST(GraphScalesRestoreY, PicksTheStepBelowATenthOfTheSpan) {
  GraphScales s;
  s.RestoreYAxis(0, 10);
  EXPECT_EQ(s.YScaleIndex, 15);
  EXPECT_EQ(s.y, (AxisRange{0, 10}));
  s.RestoreYAxis(-7.3, 2.1);  // span/10 = 0.94: first smaller step 0.5 (16), so index 15
  EXPECT_EQ(s.YScaleIndex, 15);
  EXPECT_NEAR(s.y.min, -8, kTol);
  EXPECT_NEAR(s.y.max, 2, kTol);
}

TEST(GraphScalesRestoreY, EqualMinAndMaxKeepTheStepAndCentreOnTheRoundedValue) {
  GraphScales s;
  s.YScaleIndex = 18;  // 0.1
  s.RestoreYAxis(3.14159, 3.14159);
  EXPECT_EQ(s.YScaleIndex, 18);
  EXPECT_NEAR(s.y.min, 3.1 - 0.5, kTol);
  EXPECT_NEAR(s.y.max, 3.1 + 0.5, kTol);
}

TEST(GraphScalesTracking, CentresYOnceThenFollowsThePointAcrossTheEdges) {
  GraphScales s;
  s.ViewAll(GraphExtents{100.0, 101.0, -5.0, 3.0}, 0);  // X 99.75..101.25 step 0.25, Y -6..4 step 1
  s.trackPoint(100.5, 2.2);
  EXPECT_TRUE(s.TrackingCentred);
  EXPECT_EQ(s.y, (AxisRange{-3, 7}));
  EXPECT_NEAR(s.x.min, 99.75, kTol);  // inside: X stays

  s.trackPoint(101.3, 7.0);  // beyond both maxima
  EXPECT_NEAR(s.x.min, 101.25 - 5 * 0.25, kTol);
  EXPECT_NEAR(s.x.max, 101.25 + 0.25, kTol);
  EXPECT_EQ(s.y, (AxisRange{7 - 9, 7 + 1}));

  s.trackPoint(99.0, -2.0);  // at or below both minima
  EXPECT_NEAR(s.x.min, 99.0 - 0.25, kTol);
  EXPECT_NEAR(s.x.max, 99.0 + 5 * 0.25, kTol);
  EXPECT_EQ(s.y, (AxisRange{-3, 7}));
}

TEST(TimeLabels, PatternFollowsTheStep) {
  const struct {
    double step;
    const char* pattern;
  } cases[] = {{1, "hh:nn:ss"},           {60, "hh:nn:ss"},         {120, "hh:nn"},          {21600, "hh:nn"},
               {43200, "dd/mm hh:nn"},    {86400, "dd/mm hh:nn"},   {172800, "dd/mm/yyyy"}, {63115200, "dd/mm/yyyy"}};
  for (const auto& c : cases) EXPECT_EQ(TimeLabelPattern(c.step), QString::fromLatin1(c.pattern)) << c.step;

  const QLocale ru(QLocale::Russian, QLocale::Russia);
  EXPECT_EQ(TimeLabelFormat(60, ru), "HH:mm:ss");
  EXPECT_EQ(TimeLabelFormat(43200, ru), "dd.MM HH:mm");
  EXPECT_EQ(TimeLabelFormat(172800, ru), "dd.MM.yyyy");
}

TEST(GraphValueFormat, GroupsDigitsAndDropsTrailingZeros) {
  const QLocale ru(QLocale::Russian, QLocale::Russia);
  const QString nbsp = QString(QChar(0x00A0));
  EXPECT_EQ(FormatGraphValue(0, ru), "0");
  EXPECT_EQ(FormatGraphValue(-0.0001, ru), "0");
  EXPECT_EQ(FormatGraphValue(20, ru), "20");
  EXPECT_EQ(FormatGraphValue(-5.5, ru), "-5,5");
  EXPECT_EQ(FormatGraphValue(0.12345, ru), "0,123");
  EXPECT_EQ(FormatGraphValue(12345.6789, ru), "12" + nbsp + "345,679");
  EXPECT_EQ(FormatGraphValue(1234.5, QLocale::c()), "1234.5");
}
