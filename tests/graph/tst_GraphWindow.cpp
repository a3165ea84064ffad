#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <qcustomplot.h>

#include <cmath>

#include "app/DateTimeValue.h"
#include "app/IniFile.h"
#include "app/UserPrompt.h"
#include "graph/GraphWindow.h"

namespace {

class ScriptedPrompt : public UserPrompt {
 public:
  QStringList boxes;
  bool answer = true;
  bool show(Kind, const QString& caption, const QString& text) override {
    boxes << caption + " | " + text;
    return answer;
  }
};

constexpr double kHour = 1.0 / 24.0;

}  // namespace

class TestGraphWindow : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  ScriptedPrompt prompt_;
  ManualClock clock_{QDateTime(QDate(2026, 3, 11), QTime(9, 0, 3))};
  TMeasurementSet set_;
  TRfLoggerArray loggers_;
  double d0_ = *DateTimeValue::encode(2026, 3, 10);
  std::unique_ptr<TFormGraphic> window_;
  std::unique_ptr<GraphLines> lines_;

  QString iniPath() const { return dir_.filePath("tundrabase.ini"); }
  template <class T>
  T* child(const char* name) {
    T* w = window_->findChild<T*>(QLatin1String(name));
    if (!w) qFatal("no child %s", name);
    return w;
  }
  QCustomPlot* plot() { return window_->chart(); }

 private slots:
  void init() {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QFile::remove(iniPath());
    // One radio logger: 3 sensors, 25 hourly measurements over a day rising from -5 to 3 °C.
    set_.reset(1);
    set_.TkSn[0].clear();
    set_.TkType[0].clear();
    set_.Distance[0].clear();
    set_.MeasTime[0].clear();
    set_.BatteryVoltage[0].clear();
    set_.Temp[0].clear();
    set_.addString(0, 7, 0, {100, 200, 300});
    for (int m = 0; m <= 24; ++m) {
      const int16_t t = static_cast<int16_t>(-500 + m * 800 / 24);
      const int16_t values[] = {t, static_cast<int16_t>(t + 50), m == 5 ? NoTempValue : static_cast<int16_t>(t - 50)};
      set_.appendMeasurement(0, 0, d0_ + m * kHour, 360, values);
    }
    TRfLogger logger;
    logger.LoggerId = "D122SN00017";
    logger.SensorCount = 3;
    loggers_ = {logger};
    window_ = std::make_unique<TFormGraphic>(prompt_, clock_);
    window_->setSettingsPath(iniPath());
    lines_ = std::make_unique<GraphLines>(window_.get());
    lines_->BuildRfGraphLines(set_, loggers_, 0);
  }

  void cleanup() {
    lines_.reset();
    window_.reset();
  }

  void timeGraphShowsLinesAxesAndCaption() {
    QVERIFY(lines_->ShowRfGraph(set_, loggers_, 0, GraphPresentation::ByTime));
    QVERIFY(window_->isVisible());
    QCOMPARE(window_->windowTitle(), QString("График для логгера D122SN00017 по времени"));
    QCOMPARE(plot()->graphCount(), 3);
    QCOMPARE(plot()->xAxis->label(), QString("Время"));
    QCOMPARE(plot()->yAxis->label(), QString::fromUtf8("Температура, °\xD0\xA1"));
    QCOMPARE(window_->graphOf(2)->data()->size(), 24);  // the missing value is not drawn
    // X fitted to the day on the 6-hour step; Y from the saved range (none saved: 0 … 10).
    QCOMPARE(window_->content().scales.XScaleIndex, 11);
    QVERIFY(qAbs(plot()->xAxis->range().lower - (d0_ - 0.25)) < 1e-9);
    QVERIFY(qAbs(plot()->xAxis->range().upper - (d0_ + 1.25)) < 1e-9);
    QCOMPARE(plot()->yAxis->range().lower, 0.0);
    QCOMPARE(plot()->yAxis->range().upper, 10.0);
    auto* list = child<QListView>("ScrollBox1");
    QCOMPARE(list->model()->rowCount(), 3);
    QCOMPARE(list->model()->index(0, 0).data().toString(), QString("дат.№ 1 (1)"));
    QCOMPARE(child<QSpinBox>("JvSpinEditAutoDrag")->maximum(), 3);
    QVERIFY(child<QGroupBox>("JvGroupBoxLimitLines")->isVisibleTo(window_.get()));
    QCOMPARE(window_->graphOf(0)->scatterStyle().shape(), QCPScatterStyle::ssSquare);  // tracked line 1
    QCOMPARE(window_->graphOf(1)->scatterStyle().shape(), QCPScatterStyle::ssCircle);
    QVERIFY(!window_->graphOf(0)->antialiased());
    QVERIFY(window_->graphOf(0)->adaptiveSampling());
  }

  void sensorGraphCaptionAndAxes() {
    QVERIFY(lines_->ShowRfGraph(set_, loggers_, 0, GraphPresentation::BySensor));
    QCOMPARE(window_->windowTitle(), QString("График для логгера D122SN00017 по № датчика"));
    QCOMPARE(plot()->graphCount(), 25);
    QCOMPARE(plot()->xAxis->label(), QString::fromUtf8("Температура, °\xD0\xA1"));
    QCOMPARE(plot()->yAxis->label(), QString("Датчик, №"));
    QCOMPARE(window_->graphOf(5)->data()->size(), 2);
    QCOMPARE(window_->graphOf(0)->keyAxis(), plot()->yAxis);  // points ordered by sensor number

    // Sensor numbers are labelled at whole numbers, also on a grid finer than one sensor.
    QCOMPARE(window_->content().scales.yStep(), 1.0);
    child<QToolButton>("btnZoomInY")->click();
    QCOMPARE(window_->content().scales.yStep(), 0.5);
    plot()->replot();
    const QVector<double> ticks = plot()->yAxis->tickVector();
    QVERIFY(ticks.size() >= 3);
    for (double t : ticks) QCOMPARE(t, std::round(t));
  }

  void zoomButtonsFollowTheStepBounds() {
    lines_->ShowRfGraph(set_, loggers_, 0, GraphPresentation::ByTime);
    auto* zoomInX = child<QToolButton>("btnZoomInX");
    auto* zoomOutX = child<QToolButton>("btnZoomOutX");
    QVERIFY(zoomInX->isEnabled());
    for (int i = 0; i < 30 && zoomInX->isEnabled(); ++i) zoomInX->click();
    QCOMPARE(window_->content().scales.XScaleIndex, 24);
    QVERIFY(!zoomInX->isEnabled());
    QVERIFY(zoomOutX->isEnabled());
    QVERIFY(qAbs(plot()->xAxis->range().size() * 86400 - 6) < 1e-4);

    // The wheel acts through the handlers: X stays at its bound, Y zooms in one step.
    const int y = window_->content().scales.YScaleIndex;
    QWheelEvent wheel(QPointF(100, 100), plot()->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(plot(), &wheel);
    QCOMPARE(window_->content().scales.XScaleIndex, 24);
    QCOMPARE(window_->content().scales.YScaleIndex, y + 1);
    // A sideways tilt is no turn of the wheel: it zooms nothing.
    QWheelEvent sideways(QPointF(100, 100), plot()->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(120, 0),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(plot(), &sideways);
    QCOMPARE(window_->content().scales.XScaleIndex, 24);
    QCOMPARE(window_->content().scales.YScaleIndex, y + 1);

    auto* zoomInY = child<QToolButton>("btnZoomInY");
    for (int i = 0; i < 40 && zoomInY->isEnabled(); ++i) zoomInY->click();
    QCOMPARE(window_->content().scales.YScaleIndex, 30);
    QVERIFY(child<QToolButton>("btnZoomOutY")->isEnabled());

    const double top = plot()->yAxis->range().upper;
    child<QToolButton>("UpButton")->click();
    QVERIFY(qAbs(plot()->yAxis->range().upper - (top - 0.000001)) < 1e-12);
    child<QToolButton>("btnShowAll")->click();  // -5.5 … 3.5 °C over the day
    QCOMPARE(window_->content().scales.XScaleIndex, 11);
    QCOMPARE(window_->content().scales.YScaleIndex, 14);
    QCOMPARE(plot()->yAxis->range().lower, -10.0);
    QCOMPARE(plot()->yAxis->range().upper, 10.0);
  }

  void rectangleZoomAndItsUndo() {
    lines_->ShowRfGraph(set_, loggers_, 0, GraphPresentation::ByTime);
    window_->resize(700, 583);
    QTest::qWait(0);
    const QRect r = plot()->axisRect()->rect();
    const QCPRange before = plot()->xAxis->range();
    auto drag = [&](QPoint from, QPoint to) {
      QTest::mousePress(plot(), Qt::LeftButton, Qt::NoModifier, from);
      QMouseEvent move(QEvent::MouseMove, to, plot()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(plot(), &move);
      QTest::mouseRelease(plot(), Qt::LeftButton, Qt::NoModifier, to);
    };
    const QPoint a = r.center() - QPoint(60, 40), b = r.center() + QPoint(60, 40);
    drag(a, a + QPoint(10, 30));  // below the threshold: nothing
    QCOMPARE(plot()->xAxis->range(), before);
    drag(a, b);
    QVERIFY(plot()->xAxis->range().size() < before.size() / 2);
    QVERIFY(window_->content().scales.XScaleIndex > 11);
    drag(b, a);  // any other direction undoes
    QCOMPARE(plot()->xAxis->range(), before);
    QCOMPARE(window_->content().scales.XScaleIndex, 11);
  }

  void bandDragEndsOnReleaseWithTheGroupUnchecked() {
    lines_->ShowRfGraph(set_, loggers_, 0, GraphPresentation::ByTime);
    window_->resize(700, 583);
    QTest::qWait(0);
    auto* group = child<QGroupBox>("JvGroupBoxLimitLines");
    group->setChecked(true);
    const QRect r = plot()->axisRect()->rect();
    const QPoint a = r.center() - QPoint(60, 40), b = r.center() + QPoint(60, 40);
    QTest::mousePress(plot(), Qt::LeftButton, Qt::AltModifier, a);
    QVERIFY(window_->limits().BandDragActive);
    group->setChecked(false);
    QTest::mouseRelease(plot(), Qt::LeftButton, Qt::AltModifier, a);
    QVERIFY(!window_->limits().BandDragActive);

    // Rectangle zoom and the read-out work again at once.
    const QCPRange before = plot()->xAxis->range();
    QTest::mousePress(plot(), Qt::LeftButton, Qt::NoModifier, a);
    QMouseEvent move(QEvent::MouseMove, b, plot()->mapToGlobal(b), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(plot(), &move);
    QVERIFY(!child<QLabel>("StatusPanel0")->text().isEmpty());
    QTest::mouseRelease(plot(), Qt::LeftButton, Qt::NoModifier, b);
    QVERIFY(plot()->xAxis->range().size() < before.size() / 2);
  }

  void lineBoxesDriveAllLines() {
    lines_->ShowRfGraph(set_, loggers_, 0, GraphPresentation::ByTime);
    auto* all = child<QCheckBox>("cbLineAll");
    auto* model = child<QListView>("ScrollBox1")->model();
    QVERIFY(all->isChecked());
    model->setData(model->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
    QVERIFY(!all->isChecked());
    QVERIFY(!window_->graphOf(1)->visible() || !window_->content().lines()[1]->visible());
    model->setData(model->index(1, 0), Qt::Checked, Qt::CheckStateRole);
    QVERIFY(all->isChecked());
    all->setChecked(false);
    for (const TGraphLine* l : window_->content().lines()) QVERIFY(!l->visible());
  }

  void limitSetByClickAndDrawnAsLines() {
    lines_->ShowRfGraph(set_, loggers_, 0, GraphPresentation::ByTime);
    child<QGroupBox>("JvGroupBoxLimitLines")->setChecked(true);
    QCOMPARE(child<QLabel>("LabelMaxLimit")->text(), QString::fromUtf8("0,00 °\xD0\xA1"));
    child<QToolButton>("SpeedButtonMaxLimit")->click();
    QVERIFY(child<QWidget>("JvSpinEditMaxLimit")->isVisible());
    const QRect r = plot()->axisRect()->rect();
    const QPoint p(r.center().x(), plot()->yAxis->coordToPixel(7.5));
    QTest::mouseClick(plot(), Qt::LeftButton, Qt::NoModifier, p);
    QVERIFY(qAbs(window_->limits().RangeMax - 7.5) < 0.05);
    QVERIFY(!child<QToolButton>("SpeedButtonMaxLimit")->isChecked());
    QVERIFY(!child<QWidget>("JvSpinEditMaxLimit")->isVisible());
    QVERIFY(child<QLabel>("LabelMaxLimit")->text().startsWith("7,"));

    // Closing stores the limit with the other keys of the section.
    window_->closeWindow();
    IniFile ini;
    QVERIFY(ini.load(iniPath()));
    QVERIFY(ini.hasSection("Graphic "));
    QCOMPARE(ini.readBool("Graphic ", "SetRange", false), true);
    QVERIFY(qAbs(ini.readReal("Graphic ", "RangeMax", 0) - 7.5) < 0.05);
    QCOMPARE(ini.readInteger("Graphic ", "BackColor", 0), -16777201);
  }

  void systemColoursOfTheSectionShowAsPaletteColours() {
    // Signed system-colour values as stored: window text (8), button face (15), window (5).
    IniFile ini;
    ini.setValue("Graphic ", "GridColor", "-16777208");
    ini.setValue("Graphic ", "RangeMaxColor", "-16777201");
    ini.setValue("Graphic ", "RangeMinColor", "-16777211");
    ini.setValue("Graphic ", "SetRange", "1");
    ini.setValue("Graphic ", "RangeMax", "5");
    ini.setValue("Graphic ", "RangeMin", "-1");
    QVERIFY(ini.save(iniPath()));
    lines_->ShowRfGraph(set_, loggers_, 0, GraphPresentation::ByTime);
    const QPalette& pal = window_->palette();
    const QColor text = pal.color(QPalette::WindowText), face = pal.color(QPalette::Button),
                 base = pal.color(QPalette::Base);

    QCOMPARE(plot()->xAxis->grid()->pen().color(), text);
    QCOMPARE(plot()->yAxis->grid()->pen().color(), text);
    QColor maxPen, minPen;
    for (int i = 0; i < plot()->itemCount(); ++i) {
      auto* line = qobject_cast<QCPItemStraightLine*>(plot()->item(i));
      if (!line || !line->visible()) continue;
      (line->point1->coords().y() > 0 ? maxPen : minPen) = line->pen().color();
    }
    QCOMPARE(maxPen, face);
    QCOMPARE(minPen, base);
    auto swatch = [&](const char* name) {
      QWidget* w = child<QWidget>(name);
      return w->grab().toImage().pixelColor(w->rect().center());
    };
    QCOMPARE(swatch("ShapeGrid"), text);
    QCOMPARE(swatch("ShapeMaxLimitColor"), face);
    QCOMPARE(swatch("ShapeMinLimitColor"), base);

    // The section keeps the values as they were stored.
    window_->closeWindow();
    IniFile back;
    QVERIFY(back.load(iniPath()));
    QCOMPARE(back.readInteger("Graphic ", "GridColor", 0), -16777208);
    QCOMPARE(back.readInteger("Graphic ", "RangeMaxColor", 0), -16777201);
    QCOMPARE(back.readInteger("Graphic ", "RangeMinColor", 0), -16777211);
  }

  void savedTrackingLineBeyondTheLinesBecomesOne() {
    IniFile ini;
    ini.setValue("Graphic ", "TrackingLine", "5");
    ini.setValue("Graphic ", "yAxisMin", "-2");
    ini.setValue("Graphic ", "yAxisMax", "-2");
    QVERIFY(ini.save(iniPath()));
    lines_->ShowRfGraph(set_, loggers_, 0, GraphPresentation::ByTime);
    QCOMPARE(window_->TrackingLine(), 1);
    QCOMPARE(child<QSpinBox>("JvSpinEditAutoDrag")->value(), 1);
    // Equal saved bounds keep the step ViewAll chose (2 °C) and centre on the value.
    QCOMPARE(window_->content().scales.YScaleIndex, 14);
    QCOMPARE(plot()->yAxis->range().lower, -12.0);
    QCOMPARE(plot()->yAxis->range().upper, 8.0);
  }

  void clearGraphEmptiesEveryLineAfterAsking() {
    lines_->ShowRfGraph(set_, loggers_, 0, GraphPresentation::ByTime);
    prompt_.boxes.clear();
    prompt_.answer = false;
    child<QToolButton>("BtnClearGraph")->click();
    QCOMPARE(prompt_.boxes, QStringList{"Внимание! | Убрать все накопленные данные с графика?"});
    QCOMPARE(window_->content().lines()[0]->count(), 25);
    prompt_.answer = true;
    child<QToolButton>("BtnClearGraph")->click();
    for (const TGraphLine* l : window_->content().lines()) QCOMPARE(l->count(), 0);
    QTRY_COMPARE(window_->graphOf(0)->data()->size(), 0);
    QVERIFY(!lines_->ShowRfGraph(set_, loggers_, 0, GraphPresentation::ByTime));
  }

  void printButtonHandsOverTheChart() {
    lines_->ShowRfGraph(set_, loggers_, 0, GraphPresentation::ByTime);
    QSignalSpy spy(window_.get(), &TFormGraphic::printRequested);
    child<QToolButton>("BtnPrintGraph")->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<QCustomPlot*>(), plot());
  }

  void readoutShowsTheValueUnderThePointer() {
    lines_->ShowRfGraph(set_, loggers_, 0, GraphPresentation::ByTime);
    const QRect r = plot()->axisRect()->rect();
    const QPoint p(r.center().x(), plot()->yAxis->coordToPixel(2.5));
    QMouseEvent move(QEvent::MouseMove, p, plot()->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(plot(), &move);
    QVERIFY(child<QLabel>("StatusPanel0")->text().endsWith(QString::fromUtf8(" °\xD0\xA1")));
    QVERIFY(child<QLabel>("StatusPanel0")->text().startsWith("2,"));
    QVERIFY(child<QLabel>("StatusPanel1")->text().startsWith("10.03.2026 "));
    const QPoint outside(2, 2);
    QMouseEvent away(QEvent::MouseMove, outside, plot()->mapToGlobal(outside), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(plot(), &away);
    QVERIFY(child<QLabel>("StatusPanel0")->text().isEmpty());
  }

  // Not a check: with TUNDRA_GRAPH_SHOT=<dir> set, writes pictures of both graphs to look at.
  void screenshots() {
    const QString out = qEnvironmentVariable("TUNDRA_GRAPH_SHOT");
    if (out.isEmpty()) QSKIP("TUNDRA_GRAPH_SHOT not set");
    lines_->ShowRfGraph(set_, loggers_, 0, GraphPresentation::ByTime);
    child<QGroupBox>("JvGroupBoxLimitLines")->setChecked(true);
    window_->resize(800, 583);
    QTest::qWait(100);
    QVERIFY(window_->grab().save(out + "/graph_time.png"));
    lines_->ShowRfGraph(set_, loggers_, 0, GraphPresentation::BySensor);
    window_->resize(800, 583);
    QTest::qWait(100);
    QVERIFY(window_->grab().save(out + "/graph_sensor.png"));
  }
};

QTEST_MAIN(TestGraphWindow)
#include "tst_GraphWindow.moc"
