#pragma once

#include <QColor>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>
#include <unordered_map>

#include "app/Clock.h"
#include "graph/GraphContent.h"
#include "graph/GraphLines.h"
#include "graph/GraphSettings.h"
#include "graph/LimitLines.h"

class QCheckBox;
class QCPAxis;
class QCPGraph;
class QCPItemStraightLine;
class QCustomPlot;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QListView;
class QMouseEvent;
class QRubberBand;
class QSpinBox;
class QToolButton;
class UserPrompt;
class LineListModel;
class ColorSwatch;

/// The graph window: one chart of time or sensor lines with its line list, colours,
/// point markers, fixed-step zoom and pan, AutoZoom, tracking, limit lines and the pointer
/// read-out. One instance lives for the whole run; it is hidden, not destroyed, on close.
/// It reads its section of the settings file at every show and writes it at every close.
/// UI thread only.
class TFormGraphic : public QWidget, public GraphWindowView {
  Q_OBJECT

 public:
  /// Colour chooser of the swatches: the chosen colour, or nothing when cancelled.
  using ColorChooser = std::function<std::optional<QColor>(const QColor& initial)>;

  explicit TFormGraphic(UserPrompt& prompt, const Clock& clock = Clock::system(), QWidget* parent = nullptr);
  ~TFormGraphic() override;

  /// The settings file whose "Graphic " section the window keeps.
  void setSettingsPath(const QString& iniFileName) { settingsPath_ = iniFileName; }
  void setColorChooser(ColorChooser chooser) { chooseColor_ = std::move(chooser); }

  // GraphWindowView
  GraphContent& content() override { return content_; }
  bool isShowing() const override { return isVisible(); }
  void closeWindow() override;
  void showWindow() override;
  void setRangeGroupVisible(bool visible) override;
  void setBusyCursor(bool busy) override;

  /// Rebuilds the line list, restores the settings and fits the axes.
  void PrepareToShow();
  void ViewAll();
  void SetXAxisParameter();
  void DefaultGraphicScale();
  void ApplyXScale(bool fit);
  void ApplyYScale(bool fit);
  void AdjustXScaleIndex();
  void AdjustYScaleIndex();

  QCustomPlot* chart() const { return chart_; }
  int TrackingLine() const { return trackingLine_; }
  const LimitLines& limits() const { return limits_; }
  /// The drawn graph of line i (0-based, chart order); null when out of range.
  QCPGraph* graphOf(int line) const;

 signals:
  /// "Печатать График": hands the chart to printing.
  void printRequested(QCustomPlot* chart);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildUi();
  QWidget* buildPanel();
  void loadSettings();
  void saveSettings();
  GraphSettings currentSettings() const;

  void onLinesChanged();
  void onContentChanged();
  void syncGraphs();
  void syncGraph(TGraphLine* line, QCPGraph* graph);
  void applyMarkers();
  void syncAxes();
  void replot();
  void updateLineAllBox();
  void scalesChanged();

  void onPlotPress(QMouseEvent* event);
  void onPlotMove(QMouseEvent* event);
  void onPlotRelease(QMouseEvent* event);
  bool inPlot(const QPoint& pos) const;
  double temperatureAt(const QPoint& pos) const;

  void setTrackingLine(int line);
  void pressLimitButton(bool max);
  void releaseLimitButton(bool max);
  void syncLimitControls();
  std::optional<QColor> chooseColor(const QColor& initial);
  /// The one reading of a settings colour (background, grid, limit lines): a system colour
  /// (top byte 0xFF) becomes the window's palette colour, any other the RGB it names.
  QColor toQColor(TColor colour) const;

  UserPrompt& prompt_;
  GraphContent content_;
  LimitLines limits_;
  ColorChooser chooseColor_;
  QString settingsPath_;
  GraphSettings shown_;  ///< settings as read at the last show (geometry, saved axis)
  int trackingLine_ = 1;
  TColor backColor_ = ClBtnFace;
  TColor gridColor_ = RgbColor(128, 128, 128);
  std::unordered_map<const TGraphLine*, QCPGraph*> graphs_;

  QCustomPlot* chart_ = nullptr;
  QCPItemStraightLine* maxLine_ = nullptr;
  QCPItemStraightLine* minLine_ = nullptr;
  QLabel* statusFirst_ = nullptr;
  QLabel* statusSecond_ = nullptr;
  QListView* lineList_ = nullptr;
  LineListModel* lineModel_ = nullptr;
  QCheckBox* autoZoom_ = nullptr;
  QCheckBox* lineAll_ = nullptr;
  QSpinBox* autoDragLine_ = nullptr;
  QCheckBox* autoDrag_ = nullptr;
  QSpinBox* pointSize_ = nullptr;
  QCheckBox* points_ = nullptr;
  ColorSwatch* backSwatch_ = nullptr;
  ColorSwatch* gridSwatch_ = nullptr;
  QToolButton* zoomInX_ = nullptr;
  QToolButton* zoomOutX_ = nullptr;
  QToolButton* zoomInY_ = nullptr;
  QToolButton* zoomOutY_ = nullptr;
  QGroupBox* limitGroup_ = nullptr;
  ColorSwatch* maxSwatch_ = nullptr;
  ColorSwatch* minSwatch_ = nullptr;
  QToolButton* maxButton_ = nullptr;
  QToolButton* minButton_ = nullptr;
  QLabel* maxLabel_ = nullptr;
  QLabel* minLabel_ = nullptr;
  QDoubleSpinBox* maxEdit_ = nullptr;
  QDoubleSpinBox* minEdit_ = nullptr;
  QTimer timerAutoZoom_;
  QTimer timerAutoDrag_;
  QTimer syncTimer_;

  // Mouse gestures on the plot (pixels of the chart widget).
  QRubberBand* rubberBand_ = nullptr;
  bool rectZooming_ = false;
  bool panning_ = false;
  bool zoomed_ = false;
  QPoint pressPos_;
  AxisRange panStartX_, panStartY_;
  AxisRange unzoomedX_, unzoomedY_;
};
