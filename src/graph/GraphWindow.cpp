#include "graph/GraphWindow.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QRubberBand>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "app/DateTimeValue.h"
#include "app/IniFile.h"
#include "app/UserPrompt.h"
#include "graph/GraphReadout.h"

namespace {

/// Set while "Все линии" drives the line boxes, so that they do not drive it back.
bool BulkToggle = false;

constexpr int kDragThreshold = 16;  // pixels, both directions, for a rectangle zoom

QColor rgbColor(TColor c) { return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c)); }
TColor fromQColor(const QColor& c) { return RgbColor(c.red(), c.green(), c.blue()); }

/// Axis ticks on the window's fixed grid: one tick per grid step, labels by a callback.
class StepTicker : public QCPAxisTicker {
 public:
  std::function<double()> step;
  std::function<QString(double)> label;

 protected:
  double getTickStep(const QCPRange& range) override {
    const double s = step ? step() : 0;
    // A hand-zoomed range far wider than the grid would otherwise ask for thousands of ticks.
    if (s <= 0 || range.size() / s > 60) return QCPAxisTicker::getTickStep(range);
    return s;
  }
  int getSubTickCount(double) override { return 1; }
  QString getTickLabel(double tick, const QLocale&, QChar, int) override {
    return label ? label(tick) : QString::number(tick);
  }
};

}  // namespace

/// A colour swatch: a rounded square that reports a mouse release.
class ColorSwatch : public QWidget {
 public:
  explicit ColorSwatch(const QString& name, QWidget* parent = nullptr) : QWidget(parent) {
    setObjectName(name);
    setFixedSize(22, 16);
    setCursor(Qt::PointingHandCursor);
  }
  QColor colour() const { return colour_; }
  void setColour(const QColor& c) {
    colour_ = c;
    update();
  }
  std::function<void()> released;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setPen(Qt::black);
    p.setBrush(colour_);
    p.drawRoundedRect(rect().adjusted(0, 0, -1, -1), 3, 3);
  }
  void mouseReleaseEvent(QMouseEvent*) override {
    if (released) released();
  }

 private:
  QColor colour_ = Qt::black;
};

/// The line list: one row per chart line with swatch, visibility box and "title (n)".
/// A model, not a widget per line: sensor graphs may have thousands of lines.
class LineListModel : public QAbstractListModel {
 public:
  LineListModel(GraphContent& content, QObject* parent) : QAbstractListModel(parent), content_(content) {}
  void reset() {
    beginResetModel();
    endResetModel();
  }
  void refresh() {
    if (rowCount() > 0) emit dataChanged(index(0), index(rowCount() - 1));
  }
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : content_.lineCount();
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= content_.lineCount()) return {};
    const TGraphLine* line = content_.lines()[static_cast<size_t>(index.row())];
    switch (role) {
      case Qt::DisplayRole: return line->title() + QStringLiteral(" (") + QString::number(index.row() + 1) + ')';
      case Qt::CheckStateRole: return line->visible() ? Qt::Checked : Qt::Unchecked;
      case Qt::DecorationRole: return rgbColor(line->colour());
      default: return {};
    }
  }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    return QAbstractListModel::flags(index) | Qt::ItemIsUserCheckable;
  }
  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= content_.lineCount()) return false;
    content_.lines()[static_cast<size_t>(index.row())]->setVisible(value.toInt() == Qt::Checked);
    emit dataChanged(index, index);
    if (!BulkToggle && lineToggled) lineToggled();
    return true;
  }
  std::function<void()> lineToggled;

 private:
  GraphContent& content_;
};

namespace {

/// Draws a row as the classic list did: swatch at x 2, box at x 16, label at x 30, 14 px
/// apart. A release on the swatch chooses the colour, anywhere else toggles the box.
class LineListDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  std::function<void(int row)> swatchReleased;

  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QRect r = option.rect;
    p->save();
    p->setPen(Qt::black);
    p->setBrush(index.data(Qt::DecorationRole).value<QColor>());
    p->drawRoundedRect(QRect(r.left() + 2, r.top() + 1, 11, 11), 2, 2);
    QStyleOptionButton box;
    box.rect = QRect(r.left() + 16, r.top(), 14, 14);
    box.state = QStyle::State_Enabled |
                (index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
    QApplication::style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, p);
    p->setPen(option.palette.color(QPalette::Text));
    p->drawText(QRect(r.left() + 32, r.top(), r.width() - 32, r.height()), Qt::AlignVCenter | Qt::AlignLeft,
                index.data(Qt::DisplayRole).toString());
    p->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {option.fontMetrics.horizontalAdvance(index.data().toString()) + 34, 14};
  }
  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
    if (event->type() != QEvent::MouseButtonRelease) return event->type() == QEvent::MouseButtonDblClick;
    const auto* me = static_cast<QMouseEvent*>(event);
    if (me->position().x() - option.rect.left() < 15) {
      if (swatchReleased) swatchReleased(index.row());
      return true;
    }
    const bool on = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    model->setData(index, on ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    return true;
  }
};

}  // namespace

TFormGraphic::TFormGraphic(UserPrompt& prompt, const Clock& clock, QWidget* parent)
    : QWidget(parent, Qt::Window), prompt_(prompt), content_(clock) {
  setObjectName(QStringLiteral("FormGraphic"));
  qRegisterMetaType<QCustomPlot*>();
  setWindowTitle(DefaultGraphCaption);
  resize(700, 583);
  buildUi();

  timerAutoZoom_.setInterval(1000);
  timerAutoDrag_.setInterval(1000);
  timerAutoZoom_.setObjectName(QStringLiteral("TimerAutoZoom"));
  timerAutoDrag_.setObjectName(QStringLiteral("TimerGraphAutoDrag"));
  // Each tick runs from the event loop, so queued input and repaints are already handled.
  connect(&timerAutoZoom_, &QTimer::timeout, this, [this] {
    if (autoZoom_->isChecked() && isVisible() && content_.caption != DefaultGraphCaption) ViewAll();
  });
  connect(&timerAutoDrag_, &QTimer::timeout, this, [this] {
    if (content_.trackLine(trackingLine_)) scalesChanged();
  });
  syncTimer_.setSingleShot(true);
  syncTimer_.setInterval(40);  // at most 25 redraws a second while points arrive
  connect(&syncTimer_, &QTimer::timeout, this, &TFormGraphic::syncGraphs);
  connect(&content_, &GraphContent::linesChanged, this, &TFormGraphic::onLinesChanged);
  connect(&content_, &GraphContent::changed, this, &TFormGraphic::onContentChanged);
}

TFormGraphic::~TFormGraphic() {
  content_.detachAll();
}

void TFormGraphic::buildUi() {
  chart_ = new QCustomPlot(this);
  chart_->setObjectName(QStringLiteral("Chart1"));
  chart_->setNotAntialiasedElements(QCP::aeAll);
  chart_->setPlottingHint(QCP::phFastPolylines, true);
  chart_->axisRect()->setBackground(Qt::white);
  chart_->legend->setVisible(false);
  chart_->setMouseTracking(true);
  for (QCPAxis* axis : {chart_->xAxis, chart_->yAxis}) {
    auto ticker = QSharedPointer<StepTicker>::create();
    axis->setTicker(ticker);
  }
  auto xTicker = chart_->xAxis->ticker().staticCast<StepTicker>();
  xTicker->step = [this] { return content_.scales.xStep(); };
  xTicker->label = [this](double tick) {
    if (content_.kind() == GraphKind::Sensor) return FormatGraphValue(tick);
    return DateTimeValue::toQDateTime(tick).toString(
        TimeLabelFormat(XScaleSteps[static_cast<size_t>(content_.scales.XScaleIndex)], QLocale()));
  };
  auto yTicker = chart_->yAxis->ticker().staticCast<StepTicker>();
  // A sensor graph labels whole sensor numbers only (label increment 1), however fine its grid.
  yTicker->step = [this] {
    const double step = content_.scales.yStep();
    return content_.kind() == GraphKind::Sensor ? std::max(step, 1.0) : step;
  };
  yTicker->label = [](double tick) { return FormatGraphValue(tick); };

  for (auto** item : {&maxLine_, &minLine_}) {
    *item = new QCPItemStraightLine(chart_);
    (*item)->setVisible(false);
    (*item)->setSelectable(false);
  }
  rubberBand_ = new QRubberBand(QRubberBand::Rectangle, chart_);
  connect(chart_, &QCustomPlot::mousePress, this, &TFormGraphic::onPlotPress);
  connect(chart_, &QCustomPlot::mouseMove, this, &TFormGraphic::onPlotMove);
  connect(chart_, &QCustomPlot::mouseRelease, this, &TFormGraphic::onPlotRelease);
  connect(chart_, &QCustomPlot::mouseWheel, this, [this](QWheelEvent* e) {
    // Only a turn of the wheel zooms; a sideways tilt (y 0) is neither forward nor back.
    if (e->angleDelta().y() == 0) return;
    content_.scales.wheel(e->angleDelta().y() > 0);
    scalesChanged();
  });

  auto* status = new QStatusBar(this);
  status->setObjectName(QStringLiteral("StatusBarGraphic"));
  status->setSizeGripEnabled(false);
  statusFirst_ = new QLabel(status);
  statusFirst_->setObjectName(QStringLiteral("StatusPanel0"));
  statusFirst_->setFixedWidth(120);
  statusSecond_ = new QLabel(status);
  statusSecond_->setObjectName(QStringLiteral("StatusPanel1"));
  statusSecond_->setFixedWidth(200);
  status->addWidget(statusFirst_);
  status->addWidget(statusSecond_);

  auto* left = new QVBoxLayout;
  left->setContentsMargins(0, 0, 0, 0);
  left->setSpacing(0);
  left->addWidget(chart_, 1);
  left->addWidget(status);
  auto* main = new QHBoxLayout(this);
  main->setContentsMargins(0, 0, 0, 0);
  main->setSpacing(2);
  main->addLayout(left, 1);
  main->addWidget(buildPanel());
}

QWidget* TFormGraphic::buildPanel() {
  auto* panel = new QSplitter(Qt::Vertical, this);
  panel->setFixedWidth(155);
  panel->setChildrenCollapsible(false);

  lineList_ = new QListView(panel);
  lineList_->setObjectName(QStringLiteral("ScrollBox1"));
  lineModel_ = new LineListModel(content_, lineList_);
  lineModel_->lineToggled = [this] { updateLineAllBox(); };
  auto* delegate = new LineListDelegate(lineList_);
  delegate->swatchReleased = [this](int row) {
    if (row >= content_.lineCount()) return;
    TGraphLine* line = content_.lines()[static_cast<size_t>(row)];
    if (const auto c = chooseColor(rgbColor(line->colour()))) {
      line->setColour(fromQColor(*c));
      lineModel_->refresh();
    }
  };
  lineList_->setItemDelegate(delegate);
  lineList_->setModel(lineModel_);
  lineList_->setUniformItemSizes(true);
  lineList_->setSelectionMode(QAbstractItemView::NoSelection);
  lineList_->setMinimumHeight(60);

  auto* controls = new QWidget(panel);
  auto* grid = new QGridLayout(controls);
  grid->setContentsMargins(2, 2, 2, 2);
  grid->setSpacing(2);
  auto check = [&](const char* name, const QString& text, const QString& hint) {
    auto* box = new QCheckBox(text, controls);
    box->setObjectName(QLatin1String(name));
    box->setToolTip(hint);
    return box;
  };
  auto button = [&](const char* name, const QString& text, const QString& hint) {
    auto* b = new QToolButton(controls);
    b->setObjectName(QLatin1String(name));
    b->setText(text);
    b->setToolTip(hint);
    b->setAutoRaise(false);
    b->setFixedSize(28, 22);
    return b;
  };

  autoZoom_ = check("CBAutoZoom", QStringLiteral("АвтоЗум"), QStringLiteral("Показывать весь график"));
  lineAll_ = check("cbLineAll", QStringLiteral("Все линии"), QStringLiteral("Показать/скрыть все линии"));
  autoDragLine_ = new QSpinBox(controls);
  autoDragLine_->setObjectName(QStringLiteral("JvSpinEditAutoDrag"));
  autoDragLine_->setToolTip(QStringLiteral("Номер линии слежения"));
  autoDragLine_->setRange(1, 1);
  autoDrag_ = check("cbAutoDrag", QStringLiteral("Слежение"), QStringLiteral("Слежение за указанной кривой графика"));
  pointSize_ = new QSpinBox(controls);
  pointSize_->setObjectName(QStringLiteral("JvSpinEditGraphPSize"));
  pointSize_->setToolTip(QStringLiteral("Размер точки"));
  pointSize_->setRange(1, 15);
  pointSize_->setValue(2);
  points_ = check("CheckBoxPoints", QStringLiteral("Точки"), QStringLiteral("Отображать точки кривых графика "));
  backSwatch_ = new ColorSwatch(QStringLiteral("ShapeFon"), controls);
  backSwatch_->setToolTip(QStringLiteral("Задать цвет фона графика"));
  gridSwatch_ = new ColorSwatch(QStringLiteral("ShapeGrid"), controls);
  gridSwatch_->setToolTip(QStringLiteral("Задать цвет масштабной сетки графика"));

  int row = 0;
  grid->addWidget(autoZoom_, row++, 0, 1, 4);
  grid->addWidget(lineAll_, row++, 0, 1, 4);
  grid->addWidget(autoDrag_, row, 0, 1, 3);
  grid->addWidget(autoDragLine_, row++, 3);
  grid->addWidget(points_, row, 0, 1, 3);
  grid->addWidget(pointSize_, row++, 3);
  grid->addWidget(backSwatch_, row, 0);
  grid->addWidget(new QLabel(QStringLiteral("Фон"), controls), row, 1);
  grid->addWidget(gridSwatch_, row, 2);
  grid->addWidget(new QLabel(QStringLiteral("Сетка"), controls), row++, 3);

  auto* tools = new QHBoxLayout;
  auto* colorDefault = button("BtnColorDefault", QStringLiteral("Цв"), QStringLiteral("Цвета линий по-умолчанию"));
  auto* print = button("BtnPrintGraph", QStringLiteral("Печ"), QStringLiteral("Печатать График"));
  auto* clear = button("BtnClearGraph", QStringLiteral("Оч"), QStringLiteral("Очистить график"));
  tools->addWidget(colorDefault);
  tools->addWidget(print);
  tools->addWidget(clear);
  grid->addLayout(tools, row++, 0, 1, 4);

  // Zoom cross and pan cross side by side.
  auto* crosses = new QGridLayout;
  crosses->setSpacing(1);
  zoomInY_ = button("btnZoomInY", QStringLiteral("Y+"), QStringLiteral("Увеличить масштаб по Y"));
  zoomOutX_ = button("btnZoomOutX", QStringLiteral("X−"), QStringLiteral("Уменьшить масштаб по X"));
  auto* showAll = button("btnShowAll", QStringLiteral("▣"), QStringLiteral("Показать всё"));
  zoomInX_ = button("btnZoomInX", QStringLiteral("X+"), QStringLiteral("Увеличить масштаб по X"));
  zoomOutY_ = button("btnZoomOutY", QStringLiteral("Y−"), QStringLiteral("Уменьшить масштаб по Y"));
  auto* up = button("UpButton", QStringLiteral("↑"), QStringLiteral("Сдвинуть вверх на 1/10"));
  auto* leftB = button("LeftButton", QStringLiteral("←"), QStringLiteral("Сдвинуть влево на 1/10"));
  auto* rightB = button("RightButton", QStringLiteral("→"), QStringLiteral("Сдвинуть вправо на 1/10"));
  auto* down = button("DownButton", QStringLiteral("↓"), QStringLiteral("Сдвинуть вниз на 1/10"));
  for (auto* b : {zoomInY_, zoomOutX_, showAll, zoomInX_, zoomOutY_, up, leftB, rightB, down}) b->setFixedSize(22, 20);
  crosses->addWidget(zoomInY_, 0, 1);
  crosses->addWidget(zoomOutX_, 1, 0);
  crosses->addWidget(showAll, 1, 1);
  crosses->addWidget(zoomInX_, 1, 2);
  crosses->addWidget(zoomOutY_, 2, 1);
  crosses->setColumnMinimumWidth(3, 6);
  crosses->addWidget(up, 3, 1);
  crosses->addWidget(leftB, 4, 0);
  crosses->addWidget(rightB, 4, 2);
  crosses->addWidget(down, 5, 1);
  grid->addLayout(crosses, row++, 0, 1, 4);

  limitGroup_ = new QGroupBox(QStringLiteral("Определить диапазон"), controls);
  limitGroup_->setObjectName(QStringLiteral("JvGroupBoxLimitLines"));
  limitGroup_->setToolTip(QStringLiteral(
      "Задать и показать на графике линии верхней и нижней границы визуально контролируемого диапазона значений по оси Y"));
  limitGroup_->setCheckable(true);
  limitGroup_->setChecked(false);
  auto* lg = new QGridLayout(limitGroup_);
  lg->setContentsMargins(3, 3, 3, 3);
  lg->setSpacing(2);
  maxSwatch_ = new ColorSwatch(QStringLiteral("ShapeMaxLimitColor"), limitGroup_);
  maxSwatch_->setToolTip(QStringLiteral("Задать цвет линии верхней границы"));
  minSwatch_ = new ColorSwatch(QStringLiteral("ShapeMinLimitColor"), limitGroup_);
  minSwatch_->setToolTip(QStringLiteral("Задать цвет линии нижней границы"));
  maxButton_ = new QToolButton(limitGroup_);
  maxButton_->setObjectName(QStringLiteral("SpeedButtonMaxLimit"));
  maxButton_->setText(QStringLiteral("Max"));
  maxButton_->setToolTip(QStringLiteral("Задать верхнюю границу диапазона"));
  minButton_ = new QToolButton(limitGroup_);
  minButton_->setObjectName(QStringLiteral("SpeedButtonMinLimit"));
  minButton_->setText(QStringLiteral("Min"));
  minButton_->setToolTip(QStringLiteral("Задать нижнюю границу диапазона"));
  for (auto* b : {maxButton_, minButton_}) {
    b->setCheckable(true);
    b->setFixedSize(34, 20);
  }
  maxLabel_ = new QLabel(limitGroup_);
  maxLabel_->setObjectName(QStringLiteral("LabelMaxLimit"));
  minLabel_ = new QLabel(limitGroup_);
  minLabel_->setObjectName(QStringLiteral("LabelMinLimit"));
  maxEdit_ = new QDoubleSpinBox(limitGroup_);
  maxEdit_->setObjectName(QStringLiteral("JvSpinEditMaxLimit"));
  minEdit_ = new QDoubleSpinBox(limitGroup_);
  minEdit_->setObjectName(QStringLiteral("JvSpinEditMinLimit"));
  for (auto* l : {maxLabel_, minLabel_}) {
    l->setFixedHeight(13);
    l->installEventFilter(this);
  }
  for (auto* e : {maxEdit_, minEdit_}) {
    e->setButtonSymbols(QAbstractSpinBox::NoButtons);
    e->setRange(-1e9, 1e9);
    e->setDecimals(3);
    e->setVisible(false);
    e->installEventFilter(this);
  }
  lg->addWidget(maxSwatch_, 0, 0);
  lg->addWidget(maxButton_, 0, 1);
  lg->addWidget(maxLabel_, 0, 2);
  lg->addWidget(maxEdit_, 0, 2);
  lg->addWidget(minSwatch_, 1, 0);
  lg->addWidget(minButton_, 1, 1);
  lg->addWidget(minLabel_, 1, 2);
  lg->addWidget(minEdit_, 1, 2);
  lg->setColumnStretch(2, 1);
  grid->addWidget(limitGroup_, row++, 0, 1, 4);

  auto* help = new QLabel(QStringLiteral("Правая кнопка мыши -\nдвигать график.\nЛевая кнопка мыши -\n"
                                         "увеличить фрагмент/\nотменить увеличение."),
                          controls);
  help->setObjectName(QStringLiteral("JvHTLabel1"));
  help->setStyleSheet(QStringLiteral("color: grey"));
  grid->addWidget(help, row++, 0, 1, 4);
  grid->setRowStretch(row, 1);

  panel->addWidget(lineList_);
  panel->addWidget(controls);
  panel->setSizes({144, 400});

  // Controls.
  connect(autoZoom_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) {
      timerAutoZoom_.start();
      ViewAll();
    } else {
      timerAutoZoom_.stop();
    }
  });
  connect(lineAll_, &QCheckBox::toggled, this, [this](bool on) {
    BulkToggle = true;
    for (TGraphLine* line : content_.lines()) line->setVisible(on);
    BulkToggle = false;
    lineModel_->refresh();
  });
  connect(autoDragLine_, &QSpinBox::valueChanged, this, [this](int v) { setTrackingLine(v); });
  connect(autoDrag_, &QCheckBox::toggled, this, [this](bool on) {
    content_.scales.TrackingCentred = false;
    if (on)
      timerAutoDrag_.start();
    else
      timerAutoDrag_.stop();
  });
  connect(points_, &QCheckBox::toggled, this, [this] { applyMarkers(); });
  connect(pointSize_, &QSpinBox::valueChanged, this, [this] { applyMarkers(); });
  backSwatch_->released = [this] {
    if (const auto c = chooseColor(backSwatch_->colour())) {
      backColor_ = fromQColor(*c);
      backSwatch_->setColour(*c);
      chart_->setBackground(*c);
      replot();
    }
  };
  gridSwatch_->released = [this] {
    if (const auto c = chooseColor(gridSwatch_->colour())) {
      gridColor_ = fromQColor(*c);
      gridSwatch_->setColour(*c);
      syncAxes();
    }
  };
  connect(colorDefault, &QToolButton::clicked, this, [this] {
    if (!prompt_.show(UserPrompt::Kind::Question, QStringLiteral("Tundrabase: график"),
                      QStringLiteral("Установить цвета линий графика по умолчанию?")))
      return;
    for (int i = 0; i < content_.lineCount(); ++i) content_.lines()[static_cast<size_t>(i)]->setColour(DefaultLineColor(i));
    lineModel_->refresh();
  });
  connect(print, &QToolButton::clicked, this, [this] { emit printRequested(chart_); });
  connect(clear, &QToolButton::clicked, this, [this] {
    if (!prompt_.show(UserPrompt::Kind::Question, QStringLiteral("Внимание!"),
                      QStringLiteral("Убрать все накопленные данные с графика?")))
      return;
    for (TGraphLine* line : content_.lines()) line->clearPoints();
  });
  auto scaleOp = [this](void (GraphScales::*op)()) {
    return [this, op] {
      (content_.scales.*op)();
      scalesChanged();
    };
  };
  connect(zoomInX_, &QToolButton::clicked, this, scaleOp(&GraphScales::zoomInX));
  connect(zoomOutX_, &QToolButton::clicked, this, scaleOp(&GraphScales::zoomOutX));
  connect(zoomInY_, &QToolButton::clicked, this, scaleOp(&GraphScales::zoomInY));
  connect(zoomOutY_, &QToolButton::clicked, this, scaleOp(&GraphScales::zoomOutY));
  connect(up, &QToolButton::clicked, this, scaleOp(&GraphScales::panUp));
  connect(down, &QToolButton::clicked, this, scaleOp(&GraphScales::panDown));
  connect(leftB, &QToolButton::clicked, this, scaleOp(&GraphScales::panLeft));
  connect(rightB, &QToolButton::clicked, this, scaleOp(&GraphScales::panRight));
  connect(showAll, &QToolButton::clicked, this, [this] { ViewAll(); });

  connect(limitGroup_, &QGroupBox::toggled, this, [this](bool on) {
    limits_.enabled = on;
    syncAxes();
  });
  connect(maxButton_, &QToolButton::clicked, this, [this](bool down) {
    if (down)
      pressLimitButton(true);
    else
      releaseLimitButton(true);
  });
  connect(minButton_, &QToolButton::clicked, this, [this](bool down) {
    if (down)
      pressLimitButton(false);
    else
      releaseLimitButton(false);
  });
  maxSwatch_->released = [this] {
    if (const auto c = chooseColor(maxSwatch_->colour())) {
      limits_.RangeMaxColor = fromQColor(*c);
      maxSwatch_->setColour(*c);
      syncAxes();
    }
  };
  minSwatch_->released = [this] {
    if (const auto c = chooseColor(minSwatch_->colour())) {
      limits_.RangeMinColor = fromQColor(*c);
      minSwatch_->setColour(*c);
      syncAxes();
    }
  };
  return panel;
}

// ---- showing and closing ------------------------------------------------------------------

void TFormGraphic::closeWindow() { close(); }

void TFormGraphic::showWindow() {
  if (isVisible()) PrepareToShow();
  show();
  raise();
}

void TFormGraphic::setRangeGroupVisible(bool visible) { limitGroup_->setVisible(visible); }

void TFormGraphic::setBusyCursor(bool busy) {
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

void TFormGraphic::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;  // restored from minimised: nothing to rebuild
  PrepareToShow();
  setBusyCursor(false);
}

void TFormGraphic::closeEvent(QCloseEvent* event) {
  saveSettings();
  timerAutoZoom_.stop();
  timerAutoDrag_.stop();
  event->accept();  // hidden, not destroyed
}

void TFormGraphic::wheelEvent(QWheelEvent* event) {
  event->accept();
  if (event->angleDelta().y() == 0) return;
  content_.scales.wheel(event->angleDelta().y() > 0);
  scalesChanged();
}

GraphSettings TFormGraphic::currentSettings() const {
  GraphSettings g;
  g.autoZoom = autoZoom_->isChecked();
  g.backColor = backColor_;
  g.gridColor = gridColor_;
  g.tracking = autoDrag_->isChecked();
  g.trackingLine = autoDragLine_->value();
  g.dots = points_->isChecked();
  g.dotSize = pointSize_->value();
  g.setRange = limitGroup_->isChecked();
  g.rangeMin = limits_.RangeMin;
  g.rangeMax = limits_.RangeMax;
  g.rangeMinColor = limits_.RangeMinColor;
  g.rangeMaxColor = limits_.RangeMaxColor;
  g.xAxisScaleIndex = content_.scales.XScaleIndex;
  g.yAxisMin = content_.scales.y.min;
  g.yAxisMax = content_.scales.y.max;
  g.windowHeight = height();
  g.windowWidth = width();
  g.windowXPos = x();
  g.windowYPos = y();
  return g;
}

void TFormGraphic::loadSettings() {
  IniFile ini;
  if (!settingsPath_.isEmpty()) ini.load(settingsPath_);  // a missing file reads as empty
  GraphSettings defaults;
  defaults.windowHeight = height();
  defaults.windowWidth = width();
  defaults.windowXPos = x();
  defaults.windowYPos = y();
  shown_ = GraphSettings::load(ini, defaults);
}

void TFormGraphic::saveSettings() {
  if (settingsPath_.isEmpty()) return;
  IniFile ini;
  ini.load(settingsPath_);  // keeps every other section of the file
  currentSettings().save(ini);
  // Reported like the main window's own settings write: the text with a full stop.
  if (!ini.save(settingsPath_)) prompt_.error(QStringLiteral("Unable to write to ") + settingsPath_ + QLatin1Char('.'));
}

QColor TFormGraphic::toQColor(TColor c) const {
  if (!IsSystemColor(c)) return rgbColor(c);
  switch (c & 0xFF) {
    case 5: return palette().color(QPalette::Base);
    case 8: return palette().color(QPalette::WindowText);
    default: return palette().color(QPalette::Button);
  }
}

void TFormGraphic::PrepareToShow() {
  // 1, 2: the line list follows the chart's lines; every line in its own colour, circles.
  syncGraphs();
  lineModel_->reset();
  autoDragLine_->blockSignals(true);
  autoDragLine_->setRange(1, std::max(1, content_.lineCount()));
  autoDragLine_->blockSignals(false);

  // 3: the range group starts unchecked with empty labels.
  limitGroup_->setChecked(false);
  limits_.enabled = false;
  limits_.editing = LimitLines::Edit::None;
  limits_.clearLabels();

  // 4: the saved settings.
  loadSettings();
  const GraphSettings& g = shown_;
  {
    const QSignalBlocker b1(autoZoom_), b2(autoDrag_), b3(points_), b4(pointSize_), b5(limitGroup_);
    autoZoom_->setChecked(g.autoZoom);
    autoDrag_->setChecked(g.tracking);
    points_->setChecked(g.dots);
    pointSize_->setValue(g.dotSize);
    limitGroup_->setChecked(g.setRange);
  }
  backColor_ = g.backColor;
  gridColor_ = g.gridColor;
  chart_->setBackground(toQColor(backColor_));
  trackingLine_ = g.trackingLine;
  limits_.enabled = g.setRange;
  limits_.RangeMin = g.rangeMin;
  limits_.RangeMax = g.rangeMax;
  limits_.RangeMinColor = g.rangeMinColor;
  limits_.RangeMaxColor = g.rangeMaxColor;
  content_.scales.XScaleIndex = std::clamp(g.xAxisScaleIndex, 0, XScaleLast);

  // 5: X (and a first Y) from the data.
  if (content_.lineCount() == 0 || content_.lines().front()->count() == 0)
    content_.scales.SetXAxisParameter(content_.now());
  else
    content_.scales.ViewAll(content_.visibleExtents(), content_.now());
  // 6: Y from the saved range.
  content_.scales.RestoreYAxis(g.yAxisMin, g.yAxisMax);
  content_.scales.TrackingCentred = false;

  // 7, 8: markers, "Все линии", the tracked line.
  updateLineAllBox();
  if (trackingLine_ > content_.lineCount() || trackingLine_ < 1) trackingLine_ = 1;
  {
    const QSignalBlocker b(autoDragLine_);
    autoDragLine_->setValue(trackingLine_);
  }
  applyMarkers();

  // 9, 10: swatches and limit labels.
  maxSwatch_->setColour(toQColor(limits_.RangeMaxColor));
  minSwatch_->setColour(toQColor(limits_.RangeMinColor));
  backSwatch_->setColour(toQColor(backColor_));
  gridSwatch_->setColour(toQColor(gridColor_));
  limits_.suffix = content_.unitSuffix();
  limits_.writeLabels();
  syncLimitControls();

  // 11: timers and geometry.
  if (autoDrag_->isChecked() && !content_.scales.TrackingCentred)
    timerAutoDrag_.start();
  else
    timerAutoDrag_.stop();
  if (autoZoom_->isChecked())
    timerAutoZoom_.start();
  else
    timerAutoZoom_.stop();
  if (g.windowWidth > 0 && g.windowHeight > 0) resize(g.windowWidth, g.windowHeight);
  move(g.windowXPos, g.windowYPos);

  setWindowTitle(content_.caption);
  syncAxes();
}

// ---- scales -------------------------------------------------------------------------------

void TFormGraphic::ViewAll() {
  content_.ViewAll();
  scalesChanged();
}

void TFormGraphic::SetXAxisParameter() {
  content_.scales.SetXAxisParameter(content_.now());
  scalesChanged();
}

void TFormGraphic::DefaultGraphicScale() {
  content_.scales.DefaultGraphicScale(content_.now());
  scalesChanged();
}

void TFormGraphic::ApplyXScale(bool fit) {
  content_.scales.ApplyXScale(fit);
  scalesChanged();
}

void TFormGraphic::ApplyYScale(bool fit) {
  content_.scales.ApplyYScale(fit);
  scalesChanged();
}

void TFormGraphic::AdjustXScaleIndex() {
  content_.scales.AdjustXScaleIndex();
  scalesChanged();
}

void TFormGraphic::AdjustYScaleIndex() {
  content_.scales.AdjustYScaleIndex();
  scalesChanged();
}

void TFormGraphic::scalesChanged() { syncAxes(); }

// ---- chart mapping ------------------------------------------------------------------------

QCPGraph* TFormGraphic::graphOf(int line) const {
  if (line < 0 || line >= content_.lineCount()) return nullptr;
  const auto it = graphs_.find(content_.lines()[static_cast<size_t>(line)]);
  return it == graphs_.end() ? nullptr : it->second;
}

void TFormGraphic::onLinesChanged() {
  // Lines may be on their way to destruction: drop their graphs now, without touching them.
  std::unordered_set<const TGraphLine*> attached(content_.lines().begin(), content_.lines().end());
  if (attached.empty()) {
    chart_->clearGraphs();
    graphs_.clear();
  } else {
    for (auto it = graphs_.begin(); it != graphs_.end();) {
      if (attached.count(it->first)) {
        ++it;
      } else {
        chart_->removeGraph(it->second);
        it = graphs_.erase(it);
      }
    }
  }
  lineModel_->reset();
  onContentChanged();
}

void TFormGraphic::onContentChanged() {
  if (!syncTimer_.isActive()) syncTimer_.start();
}

void TFormGraphic::syncGraphs() {
  syncTimer_.stop();
  for (TGraphLine* line : content_.lines()) {
    auto it = graphs_.find(line);
    if (it == graphs_.end()) {
      QCPAxis* key = line->kind() == GraphLineKind::Time ? chart_->xAxis : chart_->yAxis;
      QCPAxis* value = line->kind() == GraphLineKind::Time ? chart_->yAxis : chart_->xAxis;
      QCPGraph* graph = chart_->addGraph(key, value);
      graph->setAdaptiveSampling(true);
      graph->setAntialiased(false);
      graph->setAntialiasedScatters(false);
      graph->setSelectable(QCP::stNone);
      it = graphs_.emplace(line, graph).first;
    }
    syncGraph(line, it->second);
  }
  content_.acknowledge();
  lineModel_->refresh();
  updateLineAllBox();
  applyMarkers();
  setWindowTitle(content_.caption);
  syncAxes();
}

void TFormGraphic::syncGraph(TGraphLine* line, QCPGraph* graph) {
  if (line->dataDirty()) {
    const auto& k = line->keys();
    const auto& v = line->values();
    graph->setData(QVector<double>(k.begin(), k.end()), QVector<double>(v.begin(), v.end()), true);
    line->clearDataDirty();
  }
  graph->setName(line->title());
  graph->setPen(QPen(rgbColor(line->colour()), 1));
  graph->setVisible(line->visible());
}

void TFormGraphic::applyMarkers() {
  const bool dots = points_->isChecked();
  const int size = pointSize_->value();
  const int plotWidth = std::max(1, chart_->axisRect()->width());
  for (int i = 0; i < content_.lineCount(); ++i) {
    const TGraphLine* line = content_.lines()[static_cast<size_t>(i)];
    QCPGraph* graph = graphOf(i);
    if (!graph) continue;
    if (!dots) {
      graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
      continue;
    }
    const QColor c = rgbColor(line->colour());
    const auto shape = i + 1 == trackingLine_ ? QCPScatterStyle::ssSquare : QCPScatterStyle::ssCircle;
    graph->setScatterStyle(QCPScatterStyle(shape, c, c, size));
    // Markers cost far more than line segments: with more points than pixels, draw about
    // one marker per two pixels.
    graph->setScatterSkip(std::max(0, line->count() / (plotWidth / 2 + 1) - 1));
  }
  replot();
}

void TFormGraphic::syncAxes() {
  const GraphScales& s = content_.scales;
  chart_->xAxis->setRange(s.x.min, s.x.max);
  chart_->yAxis->setRange(s.y.min, s.y.max);
  QString left = content_.leftTitle;
  while (left.endsWith(QLatin1Char('\n')) || left.endsWith(QLatin1Char('\r'))) left.chop(1);
  chart_->yAxis->setLabel(left);
  chart_->xAxis->setLabel(content_.bottomTitle);
  const QPen gridPen(toQColor(gridColor_), 0, Qt::DotLine);
  chart_->xAxis->grid()->setPen(gridPen);
  chart_->yAxis->grid()->setPen(gridPen);
  zoomInX_->setEnabled(s.zoomInXEnabled);
  zoomOutX_->setEnabled(s.zoomOutXEnabled);
  zoomInY_->setEnabled(s.zoomInYEnabled);
  zoomOutY_->setEnabled(s.zoomOutYEnabled);

  const GraphKind kind = content_.kind();
  auto place = [&](QCPItemStraightLine* item, bool drawn, double value, TColor colour) {
    item->setVisible(drawn && kind != GraphKind::Other);
    item->setPen(QPen(toQColor(colour), 1, Qt::DashDotLine));
    if (kind == GraphKind::Sensor) {
      item->point1->setCoords(value, 0);
      item->point2->setCoords(value, 1);
    } else {
      item->point1->setCoords(0, value);
      item->point2->setCoords(1, value);
    }
  };
  place(maxLine_, limits_.maxDrawn(), limits_.RangeMax, limits_.RangeMaxColor);
  place(minLine_, limits_.minDrawn(), limits_.RangeMin, limits_.RangeMinColor);
  replot();
}

void TFormGraphic::replot() {
  if (isVisible()) chart_->replot(QCustomPlot::rpQueuedReplot);
}

void TFormGraphic::updateLineAllBox() {
  const bool all = std::all_of(content_.lines().begin(), content_.lines().end(),
                               [](const TGraphLine* l) { return l->visible(); });
  const QSignalBlocker block(lineAll_);
  lineAll_->setChecked(all);
}

void TFormGraphic::setTrackingLine(int line) {
  trackingLine_ = line;
  applyMarkers();
}

// ---- limits -------------------------------------------------------------------------------

void TFormGraphic::pressLimitButton(bool max) {
  if (max)
    maxEdit_->setValue(limits_.pressMax());
  else
    minEdit_->setValue(limits_.pressMin());
  syncLimitControls();
  (max ? maxEdit_ : minEdit_)->setFocus();
}

void TFormGraphic::releaseLimitButton(bool max) {
  if (max)
    limits_.releaseMax(maxEdit_->value());
  else
    limits_.releaseMin(minEdit_->value());
  syncLimitControls();
  syncAxes();
}

void TFormGraphic::syncLimitControls() {
  const bool maxDown = limits_.editing == LimitLines::Edit::Max;
  const bool minDown = limits_.editing == LimitLines::Edit::Min;
  maxButton_->setChecked(maxDown);
  minButton_->setChecked(minDown);
  maxEdit_->setVisible(maxDown);
  maxLabel_->setVisible(!maxDown);
  minEdit_->setVisible(minDown);
  minLabel_->setVisible(!minDown);
  maxLabel_->setText(limits_.maxLabel);
  minLabel_->setText(limits_.minLabel);
}

bool TFormGraphic::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && (watched == maxLabel_ || watched == minLabel_)) {
    const bool max = watched == maxLabel_;
    if (max ? limits_.labelMaxClicked() : limits_.labelMinClicked()) {
      if (max)
        maxEdit_->setValue(limits_.RangeMax);
      else
        minEdit_->setValue(limits_.RangeMin);
      syncLimitControls();
    }
    return true;
  }
  if (event->type() == QEvent::KeyPress && (watched == maxEdit_ || watched == minEdit_)) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      auto* edit = static_cast<QDoubleSpinBox*>(watched);
      edit->interpretText();
      releaseLimitButton(watched == maxEdit_);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

std::optional<QColor> TFormGraphic::chooseColor(const QColor& initial) {
  if (chooseColor_) return chooseColor_(initial);
  const QColor c = QColorDialog::getColor(initial, this);
  if (!c.isValid()) return std::nullopt;
  return c;
}

// ---- mouse on the plot --------------------------------------------------------------------

bool TFormGraphic::inPlot(const QPoint& pos) const { return chart_->axisRect()->rect().contains(pos); }

double TFormGraphic::temperatureAt(const QPoint& pos) const {
  return content_.kind() == GraphKind::Sensor ? chart_->xAxis->pixelToCoord(pos.x())
                                              : chart_->yAxis->pixelToCoord(pos.y());
}

void TFormGraphic::onPlotPress(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  if (!inPlot(pos)) return;
  const bool temperatureGraph = content_.kind() != GraphKind::Other;
  if (e->button() == Qt::LeftButton && (e->modifiers() & Qt::AltModifier) && temperatureGraph) {
    if (limits_.bandPress(temperatureAt(pos))) return;  // rectangle zoom suspended meanwhile
  }
  pressPos_ = pos;
  if (e->button() == Qt::LeftButton && !limits_.BandDragActive) {
    rectZooming_ = true;
    rubberBand_->setGeometry(QRect(pos, QSize()));
    rubberBand_->show();
  } else if (e->button() == Qt::RightButton) {
    panning_ = true;
    panStartX_ = content_.scales.x;
    panStartY_ = content_.scales.y;
  }
}

void TFormGraphic::onPlotMove(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  if (limits_.BandDragActive) {
    if ((e->buttons() & Qt::LeftButton) && (e->modifiers() & Qt::AltModifier) &&
        limits_.bandMove(temperatureAt(pos))) {
      syncLimitControls();
      syncAxes();
    }
    return;
  }
  if (rectZooming_) rubberBand_->setGeometry(QRect(pressPos_, pos).normalized());
  if (panning_) {
    // The plot follows the pointer; the step indexes stay.
    const double dx = chart_->xAxis->pixelToCoord(pos.x()) - chart_->xAxis->pixelToCoord(pressPos_.x());
    const double dy = chart_->yAxis->pixelToCoord(pos.y()) - chart_->yAxis->pixelToCoord(pressPos_.y());
    content_.scales.x = {panStartX_.min - dx, panStartX_.max - dx};
    content_.scales.y = {panStartY_.min - dy, panStartY_.max - dy};
    syncAxes();
  }
  if (inPlot(pos)) {
    const GraphReadout r =
        PointerReadout(content_.kind(), chart_->xAxis->pixelToCoord(pos.x()), chart_->yAxis->pixelToCoord(pos.y()),
                       content_.unitSuffix());
    statusFirst_->setText(r.first);
    statusSecond_->setText(r.second);
  } else {
    statusFirst_->clear();
    statusSecond_->clear();
  }
}

void TFormGraphic::onPlotRelease(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  const bool inside = inPlot(pos);
  if (limits_.BandDragActive && e->button() == Qt::LeftButton && (!inside || content_.kind() == GraphKind::Other)) {
    limits_.BandDragActive = false;
    return;
  }
  if (rectZooming_ && e->button() == Qt::LeftButton) {
    rectZooming_ = false;
    rubberBand_->hide();
    const QPoint d = pos - pressPos_;
    if (std::abs(d.x()) > kDragThreshold && std::abs(d.y()) > kDragThreshold) {
      GraphScales& s = content_.scales;
      if (d.x() > 0 && d.y() > 0) {
        if (!zoomed_) {
          unzoomedX_ = s.x;
          unzoomedY_ = s.y;
          zoomed_ = true;
        }
        const double x0 = chart_->xAxis->pixelToCoord(pressPos_.x()), x1 = chart_->xAxis->pixelToCoord(pos.x());
        const double y0 = chart_->yAxis->pixelToCoord(pressPos_.y()), y1 = chart_->yAxis->pixelToCoord(pos.y());
        s.x = {std::min(x0, x1), std::max(x0, x1)};
        s.y = {std::min(y0, y1), std::max(y0, y1)};
      } else if (zoomed_) {
        s.x = unzoomedX_;
        s.y = unzoomedY_;
        zoomed_ = false;
      }
      s.AdjustXScaleIndex();
      s.AdjustYScaleIndex();
      syncAxes();
    }
  }
  if (e->button() == Qt::RightButton) panning_ = false;
  if (!inside || content_.kind() == GraphKind::Other) return;
  // The band-drag release comes first and ends the gesture. Any left release ends it, Alt
  // held or not, so that rectangle zoom can never stay switched off.
  if (e->button() == Qt::LeftButton && limits_.BandDragActive) {
    limits_.bandRelease();
    return;
  }
  if (limits_.plotClicked(temperatureAt(pos))) {
    syncLimitControls();
    syncAxes();
  }
}
