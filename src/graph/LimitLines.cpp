#include "graph/LimitLines.h"

#include <cmath>
#include <utility>

#include "app/Rounding.h"

QString LimitLines::LimitText(double value, const QString& suffix, const QLocale& locale) {
  const double rounded = static_cast<double>(RoundHalfEven(value * 100)) / 100;
  QLocale plain = locale;
  plain.setNumberOptions(QLocale::OmitGroupSeparator);
  return plain.toString(rounded, 'f', 2) + suffix;
}

void LimitLines::clearLabels() {
  maxLabel.clear();
  minLabel.clear();
}

void LimitLines::writeLabels() {
  maxLabel = LimitText(RangeMax, suffix);
  minLabel = LimitText(RangeMin, suffix);
}

double LimitLines::pressMax() {
  editing = Edit::Max;
  return RangeMax;
}

double LimitLines::pressMin() {
  editing = Edit::Min;
  return RangeMin;
}

void LimitLines::releaseMax(double typed) {
  if (editing != Edit::Max) return;
  editing = Edit::None;
  RangeMax = typed;
  maxLabel = LimitText(RangeMax, suffix);
}

void LimitLines::releaseMin(double typed) {
  if (editing != Edit::Min) return;
  editing = Edit::None;
  RangeMin = typed;
  minLabel = LimitText(RangeMin, suffix);
}

bool LimitLines::labelMaxClicked() {
  if (!enabled || editing == Edit::Max) return false;
  pressMax();
  return true;
}

bool LimitLines::labelMinClicked() {
  if (!enabled || editing == Edit::Min) return false;
  pressMin();
  return true;
}

bool LimitLines::plotClicked(double value) {
  if (!enabled || editing == Edit::None) return false;
  if (editing == Edit::Max) {
    RangeMax = value;
    if (!minLabel.isEmpty() && RangeMax < RangeMin) {
      std::swap(RangeMax, RangeMin);
      minLabel = LimitText(RangeMin, suffix);
    }
    maxLabel = LimitText(RangeMax, suffix);
  } else {
    RangeMin = value;
    if (!maxLabel.isEmpty() && RangeMax < RangeMin) {
      std::swap(RangeMax, RangeMin);
      maxLabel = LimitText(RangeMax, suffix);
    }
    minLabel = LimitText(RangeMin, suffix);
  }
  editing = Edit::None;
  return true;
}

bool LimitLines::bandPress(double value) {
  if (!enabled) return false;
  BandDragActive = true;
  BandDragLast = value;
  return true;
}

bool LimitLines::bandMove(double value) {
  if (!enabled || !BandDragActive) return false;
  const double delta = value - BandDragLast;
  RangeMax += delta;
  RangeMin += delta;
  BandDragLast = value;
  writeLabels();
  return true;
}

bool LimitLines::bandRelease() {
  // Ends the drag even with the group unchecked meanwhile: a drag left running would keep
  // rectangle zoom and the read-out off.
  const bool wasActive = BandDragActive;
  BandDragActive = false;
  return wasActive;
}
