#pragma once

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

#include "app/Clock.h"
#include "graph/GraphScales.h"

class TGraphLine;

/// Which graph the chart shows, told apart by the bottom-axis title.
enum class GraphKind { Other, Time, Sensor };

/// Axis titles. The last letter of "°С" is the Cyrillic capital Es; titles are compared
/// exactly.
inline const QString TimeAxisTitle = QStringLiteral("Время");
inline const QString TemperatureAxisTitle = QStringLiteral("Температура, °\u0421");
inline const QString SensorAxisTitle = QStringLiteral("Датчик, №");
/// The caption of a window that has never shown a graph.
inline const QString DefaultGraphCaption = QStringLiteral("Default");

/// The graph window's chart without widgets: the attached lines in their numbering order
/// (not owned), the caption, the axis titles and the axis scales. The window maps it onto
/// the drawing component; graph data preparation and tests drive it directly.
///
/// Changes made to attached lines are collected: the first change after acknowledge()
/// emits changed() once, so a burst of points costs one redraw. UI thread only.
class GraphContent : public QObject {
  Q_OBJECT

 public:
  explicit GraphContent(const Clock& clock = Clock::system(), QObject* parent = nullptr);
  ~GraphContent() override;

  /// Appends line to the chart (no-op when already there); a line sits on one chart.
  void attach(TGraphLine* line);
  void detach(TGraphLine* line);
  void detachAll();
  const std::vector<TGraphLine*>& lines() const { return lines_; }
  int lineCount() const { return static_cast<int>(lines_.size()); }

  QString caption = DefaultGraphCaption;
  /// Left title ends with a line break, as the window shows it.
  QString leftTitle;
  QString bottomTitle;
  GraphKind kind() const;
  /// Makes the chart a time graph or a sensor graph (titles only).
  void setTimeGraph();
  void setSensorGraph();
  /// Text of the temperature-axis title after its first comma, line breaks dropped
  /// (" °С"); empty for another kind of graph.
  QString unitSuffix() const;

  GraphScales scales;
  /// Current date-time in days.
  double now() const;

  /// Extremes of the visible lines that have points; empty when there are none.
  std::optional<GraphExtents> visibleExtents() const;
  /// Fit both axes to the visible lines ("Показать всё").
  void ViewAll();
  /// One tracking tick on line trackingLine (1-based); false when that line does not exist
  /// or has no points.
  bool trackLine(int trackingLine);

  /// Called by attached lines; emits changed() once per batch.
  void lineChanged();
  /// The window has taken every change so far.
  void acknowledge() { pending_ = false; }

 signals:
  /// Lines were attached or detached.
  void linesChanged();
  /// Points, titles, colours or visibility of attached lines, or the axes, changed.
  void changed();

 private:
  const Clock& clock_;
  std::vector<TGraphLine*> lines_;
  bool pending_ = false;
};
