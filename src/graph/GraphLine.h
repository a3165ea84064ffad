#pragma once

#include <QString>

#include <optional>
#include <vector>

#include "graph/GraphScales.h"
#include "graph/LinePalette.h"

class GraphContent;

/// Time lines: X = date-time (days), Y = value in °C, points in ascending X order.
/// Sensor lines: X = value in °C, Y = sensor label number, points in ascending Y order.
enum class GraphLineKind { Time, Sensor };

/// One graph line: title, colour, visible flag and its points. Points are stored along the
/// line's ordering axis ("key": X of a time line, Y of a sensor line), so a chart can take
/// them as one sorted block. Every point has the line's colour: a colour change recolours
/// the whole line, so per-point colours would always equal it.
///
/// While a line is attached to a GraphContent (the graph window's chart) it reports its
/// changes there; destroying it detaches it. UI thread only.
class TGraphLine {
 public:
  TGraphLine(GraphLineKind kind, QString title, TColor colour);
  ~TGraphLine();
  TGraphLine(const TGraphLine&) = delete;
  TGraphLine& operator=(const TGraphLine&) = delete;

  GraphLineKind kind() const { return kind_; }
  const QString& title() const { return title_; }
  void setTitle(const QString& title);
  TColor colour() const { return colour_; }
  void setColour(TColor colour);
  bool visible() const { return visible_; }
  void setVisible(bool visible);

  /// Adds a point; x and y as drawn (see GraphLineKind).
  void addPoint(double x, double y);
  void clearPoints();
  void reserve(size_t points) {
    keys_.reserve(points);
    values_.reserve(points);
  }
  int count() const { return static_cast<int>(keys_.size()); }

  /// Points in line order: keys are X of a time line and Y of a sensor line.
  const std::vector<double>& keys() const;
  const std::vector<double>& values() const;
  double xAt(int i) const;
  double yAt(int i) const;
  /// Extremes of the points; empty without points.
  std::optional<GraphExtents> extents() const;

  GraphContent* chart() const { return chart_; }
  /// Set when the points changed since the chart last took them.
  bool dataDirty() const { return dataDirty_; }
  void clearDataDirty() { dataDirty_ = false; }

 private:
  friend class GraphContent;
  void sortPoints() const;
  void changed(bool data);

  GraphLineKind kind_;
  QString title_;
  TColor colour_;
  bool visible_ = true;
  mutable std::vector<double> keys_;
  mutable std::vector<double> values_;
  mutable bool sorted_ = true;
  double minValue_ = 0, maxValue_ = 0;
  bool dataDirty_ = true;
  GraphContent* chart_ = nullptr;
};
