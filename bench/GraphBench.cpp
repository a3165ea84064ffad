// Graph speed: building the lines of a large radio set, and one replot of the graph window
// (offscreen, software rendering) with markers off and on.
#include <QApplication>
#include <QCheckBox>
#include <QLocale>

#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <cmath>

#include "app/UserPrompt.h"
#include "graph/GraphWindow.h"

namespace {

class SilentPrompt : public UserPrompt {
 public:
  bool show(Kind, const QString&, const QString&) override { return true; }
};

struct BigSet {
  TMeasurementSet set;
  TRfLoggerArray loggers;
};

// One logger, `sensors` sensors, `measurements` records ten minutes apart; every 97th value
// is missing.
BigSet makeSet(int sensors, int measurements) {
  BigSet b;
  b.set.reset(1);
  b.set.clearFirstString(0);
  b.set.TkSn[0].clear();
  b.set.TkType[0].clear();
  b.set.Distance[0].clear();
  b.set.MeasTime[0].clear();
  b.set.BatteryVoltage[0].clear();
  b.set.Temp[0].clear();
  std::vector<int16_t> distances;
  for (int s = 0; s < sensors; ++s) distances.push_back(static_cast<int16_t>(100 * (s + 1)));
  b.set.addString(0, 1, 0, distances);
  std::vector<int16_t> values(static_cast<size_t>(sensors));
  for (int m = 0; m < measurements; ++m) {
    for (int s = 0; s < sensors; ++s)
      values[static_cast<size_t>(s)] = (m * sensors + s) % 97 == 0
                                           ? NoTempValue
                                           : static_cast<int16_t>(1000 * std::sin(m / 500.0 + s) - 10 * s);
    b.set.appendMeasurement(0, 0, 46000.0 + m / 144.0, 360, values.data());
  }
  TRfLogger logger;
  logger.LoggerId = QStringLiteral("D122SN00017");
  logger.SensorCount = sensors;
  b.loggers.push_back(logger);
  return b;
}

void BM_BuildRfGraphLines(benchmark::State& state) {
  const BigSet b = makeSet(64, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    GraphLines lines;
    lines.BuildRfGraphLines(b.set, b.loggers, 0);
    benchmark::DoNotOptimize(lines.RfTimeLines[0][0]->count());
  }
  state.counters["points"] = 64.0 * static_cast<double>(state.range(0));
}
BENCHMARK(BM_BuildRfGraphLines)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FillRfGraphLines(benchmark::State& state) {
  const BigSet b = makeSet(64, static_cast<int>(state.range(0)));
  GraphLines lines;
  lines.BuildRfGraphLines(b.set, b.loggers, 0);
  for (auto _ : state) {
    lines.FillRfGraphLines(b.set, 0);
    benchmark::DoNotOptimize(lines.RfTimeLines[0][0]->count());
  }
}
BENCHMARK(BM_FillRfGraphLines)->Arg(100000)->Unit(benchmark::kMillisecond);

// Time graph: 64 lines x range(0) points; range(1) = markers on.
void BM_ReplotTimeGraph(benchmark::State& state) {
  const BigSet b = makeSet(64, static_cast<int>(state.range(0)));
  SilentPrompt prompt;
  TFormGraphic window(prompt);
  GraphLines lines(&window);
  lines.BuildRfGraphLines(b.set, b.loggers, 0);
  lines.ShowRfGraph(b.set, b.loggers, 0, GraphPresentation::ByTime);
  window.findChild<QCheckBox*>(QStringLiteral("CheckBoxPoints"))->setChecked(state.range(1) != 0);
  window.findChild<QCheckBox*>(QStringLiteral("CBAutoZoom"))->setChecked(false);
  window.resize(1000, 700);
  QCoreApplication::processEvents();
  for (auto _ : state) window.chart()->replot(QCustomPlot::rpImmediateRefresh);
}
BENCHMARK(BM_ReplotTimeGraph)->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond);

// Showing the time graph: attaching 64 lines, handing their points to the chart, fitting.
void BM_ShowTimeGraph(benchmark::State& state) {
  const BigSet b = makeSet(64, 100000);
  SilentPrompt prompt;
  TFormGraphic window(prompt);
  GraphLines lines(&window);
  lines.BuildRfGraphLines(b.set, b.loggers, 0);
  for (auto _ : state) {
    lines.ShowRfGraph(b.set, b.loggers, 0, GraphPresentation::ByTime);
    window.chart()->replot(QCustomPlot::rpImmediateRefresh);
  }
}
BENCHMARK(BM_ShowTimeGraph)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
