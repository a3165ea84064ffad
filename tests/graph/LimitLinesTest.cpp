#include <gtest/gtest.h>

#include "graph/GraphReadout.h"
#include "graph/LimitLines.h"

namespace {

const QString kSuffix = QString::fromUtf8(" °\xD0\xA1");

LimitLines shownLimits(double min, double max) {
  LimitLines l;
  l.enabled = true;
  l.suffix = kSuffix;
  l.RangeMin = min;
  l.RangeMax = max;
  l.writeLabels();
  return l;
}

}  // namespace

TEST(LimitLines, TextIsRoundedToHundredthsWithTheRegionalSeparator) {
  const QLocale ru(QLocale::Russian, QLocale::Russia);
  EXPECT_EQ(LimitLines::LimitText(-3.14159, kSuffix, ru), "-3,14" + kSuffix);
  EXPECT_EQ(LimitLines::LimitText(1234.5, kSuffix, ru), "1234,50" + kSuffix);
  EXPECT_EQ(LimitLines::LimitText(0, kSuffix, QLocale::c()), "0.00" + kSuffix);
}

TEST(LimitLines, AClickBelowTheOtherLimitSwapsButTypingDoesNot) {
  LimitLines l = shownLimits(0, 10);
  EXPECT_EQ(l.pressMax(), 10);
  EXPECT_TRUE(l.plotClicked(-4));
  EXPECT_EQ(l.RangeMax, 0);
  EXPECT_EQ(l.RangeMin, -4);
  EXPECT_EQ(l.maxLabel, "0,00" + kSuffix);
  EXPECT_EQ(l.minLabel, "-4,00" + kSuffix);
  EXPECT_EQ(l.editing, LimitLines::Edit::None);

  l.pressMin();
  EXPECT_TRUE(l.plotClicked(7.5));
  EXPECT_EQ(l.RangeMin, 0);
  EXPECT_EQ(l.RangeMax, 7.5);

  l.pressMax();
  l.releaseMax(-20);
  EXPECT_EQ(l.RangeMax, -20);
  EXPECT_EQ(l.RangeMin, 0);
  EXPECT_EQ(l.maxLabel, "-20,00" + kSuffix);
}

TEST(LimitLines, ClicksNeedTheGroupAndAButtonDown) {
  LimitLines l = shownLimits(0, 10);
  EXPECT_FALSE(l.plotClicked(5));  // no button down
  l.enabled = false;
  l.pressMax();
  EXPECT_FALSE(l.plotClicked(5));
  EXPECT_FALSE(l.labelMinClicked());
  l.enabled = true;
  EXPECT_TRUE(l.labelMinClicked());  // "Min" down, "Max" up without taking its edit
  EXPECT_EQ(l.editing, LimitLines::Edit::Min);
  EXPECT_EQ(l.RangeMax, 10);
  EXPECT_FALSE(l.labelMinClicked());
}

TEST(LimitLines, BandDragKeepsTheDistance) {
  LimitLines l = shownLimits(-2, 3);
  EXPECT_FALSE(l.bandMove(1));  // not started
  ASSERT_TRUE(l.bandPress(1.0));
  l.bandMove(1.5);
  l.bandMove(4.25);
  EXPECT_DOUBLE_EQ(l.RangeMin, 1.25);
  EXPECT_DOUBLE_EQ(l.RangeMax, 6.25);
  EXPECT_EQ(l.minLabel, "1,25" + kSuffix);
  EXPECT_TRUE(l.bandRelease());
  EXPECT_FALSE(l.bandMove(10));
  EXPECT_DOUBLE_EQ(l.RangeMax - l.RangeMin, 5);
  EXPECT_FALSE(l.bandRelease());  // nothing left to end
}

TEST(LimitLines, BandDragEndsOnReleaseAfterTheGroupIsUnchecked) {
  LimitLines l = shownLimits(-2, 3);
  ASSERT_TRUE(l.bandPress(0));
  l.enabled = false;
  EXPECT_FALSE(l.bandMove(1));
  EXPECT_TRUE(l.bandRelease());
  EXPECT_FALSE(l.BandDragActive);
  EXPECT_DOUBLE_EQ(l.RangeMin, -2);
  EXPECT_DOUBLE_EQ(l.RangeMax, 3);
}

TEST(LimitLines, LinesAreDrawnOnlyWithTheGroupAndALabel) {
  LimitLines l;
  l.enabled = true;
  EXPECT_FALSE(l.maxDrawn());
  l.writeLabels();  // both 0: drawn on top of each other
  EXPECT_TRUE(l.maxDrawn());
  EXPECT_TRUE(l.minDrawn());
  l.enabled = false;
  EXPECT_FALSE(l.minDrawn());
}

TEST(PointerReadout, ShowsTheTemperatureWithItsUnitAndTheSensorAboveZero) {
  const QLocale ru(QLocale::Russian, QLocale::Russia);
  const GraphReadout time = PointerReadout(GraphKind::Time, 46091.5, -3.25, kSuffix, ru);
  EXPECT_EQ(time.first, "-3,25" + kSuffix);
  EXPECT_EQ(time.second, "10.03.2026 12:00:00");

  const GraphReadout sensor = PointerReadout(GraphKind::Sensor, 1.5, 2.6, kSuffix, ru);
  EXPECT_EQ(sensor.second, "1,5" + kSuffix);
  EXPECT_EQ(sensor.first, "Датчик 3");
  EXPECT_TRUE(PointerReadout(GraphKind::Sensor, 1.5, -0.2, kSuffix, ru).first.isEmpty());
  const GraphReadout other = PointerReadout(GraphKind::Other, 1, 1, kSuffix, ru);
  EXPECT_TRUE(other.first.isEmpty() && other.second.isEmpty());
}
