#pragma once

#include <QLocale>
#include <QString>

#include "graph/LinePalette.h"

/// The two limit lines of a temperature range ("Определить диапазон") and their editing:
/// the "Max"/"Min" toggle buttons with their edits, a click in the plot, and the band
/// drag that moves both lines together. Values are °C on the temperature axis. The window
/// maps the state onto its controls and draws a limit line only when its label has text.
/// UI thread only.
class LimitLines {
 public:
  enum class Edit { None, Max, Min };

  double RangeMax = 0;
  double RangeMin = 0;
  TColor RangeMaxColor = 0;
  TColor RangeMinColor = 0;
  /// The range group's box.
  bool enabled = false;
  /// The unit suffix of the temperature axis (" °С").
  QString suffix;
  QString maxLabel;
  QString minLabel;
  Edit editing = Edit::None;
  bool BandDragActive = false;
  double BandDragLast = 0;

  /// round(value × 100) / 100 as "%.2f" with the locale's decimal separator, then suffix.
  static QString LimitText(double value, const QString& suffix, const QLocale& locale = QLocale());

  /// Empties both labels (no line is drawn until they are written).
  void clearLabels();
  void writeLabels();

  /// Pressing "Max" down: returns the value its edit takes; "Min" goes up without taking
  /// its edit's value.
  double pressMax();
  double pressMin();
  /// Releasing the button (a second click, or Enter in its edit): the typed value is taken
  /// unchanged, even across the other limit.
  void releaseMax(double typed);
  void releaseMin(double typed);
  /// A click on a label while the group is checked and its button is up presses the
  /// button; returns whether it did.
  bool labelMaxClicked();
  bool labelMinClicked();

  /// A mouse button released in the plot at temperature value: sets the limit whose
  /// button is down, swapping the two when they cross; returns whether a limit changed.
  bool plotClicked(double value);

  /// Alt + left press in the plot: starts the band drag; returns whether it started.
  bool bandPress(double value);
  /// Pointer moved with Alt + left held: moves both limits by the same amount.
  bool bandMove(double value);
  /// Any left release in the plot: ends the band drag whatever the group's state; returns
  /// whether a drag was running.
  bool bandRelease();

  bool maxDrawn() const { return enabled && !maxLabel.isEmpty(); }
  bool minDrawn() const { return enabled && !minLabel.isEmpty(); }
};
