// Data tables over a large set: 100 000 measurements of 64 sensors. Measures filling the
// model, reading every cell of a screenful, scrolling through the whole table cell by
// cell in chunks, and filling and sizing the real view offscreen.
#include <QApplication>
#include <QLocale>

#include <benchmark/benchmark.h>

#include "data/DataTableGrid.h"
#include "data/DataTableModel.h"
#include "data/MeasurementSet.h"

namespace {
constexpr int kMeasurements = 100000;
constexpr int kSensors = 64;

const TMeasurementSet& bigSet() {
  static const TMeasurementSet set = [] {
    TMeasurementSet s;
    s.reset(1);
    s.clearFirstString(0);
    std::vector<int16_t> distances(kSensors);
    for (int i = 0; i < kSensors; ++i) distances[static_cast<size_t>(i)] = static_cast<int16_t>((i + 1) * 100);
    s.Distance[0][0] = distances;
    s.Temp[0][0].assign(kSensors, {});
    for (auto& series : s.Temp[0][0]) series.reserve(kMeasurements);
    std::vector<int16_t> values(kSensors);
    for (int k = 0; k < kMeasurements; ++k) {
      for (int i = 0; i < kSensors; ++i) values[static_cast<size_t>(i)] = static_cast<int16_t>((k * 7 + i * 13) % 6000 - 3000);
      s.appendMeasurement(0, 0, 46000.0 + k / 24.0, static_cast<int16_t>(360 + k % 50), values.data());
    }
    return s;
  }();
  return set;
}

void BM_ModelFill(benchmark::State& state) {
  const TMeasurementSet& set = bigSet();
  DataTableModel model(true);
  model.setLocale(QLocale(QLocale::Russian, QLocale::Russia));
  model.setMeasurementSet(&set);
  const auto view = static_cast<DataTableView>(state.range(0));
  for (auto _ : state) {
    model.Fill(0, view);
    benchmark::DoNotOptimize(model.rowCount());
  }
}
BENCHMARK(BM_ModelFill)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One screenful (40 rows x 67 columns) of display texts and highlight flags, as a repaint
// asks for them.
void BM_ScreenfulData(benchmark::State& state) {
  const TMeasurementSet& set = bigSet();
  DataTableModel model(true);
  model.setLocale(QLocale(QLocale::Russian, QLocale::Russia));
  model.setMeasurementSet(&set);
  model.Fill(0, DataTableView::ByTime);
  model.setHighlight(true, -10, 10);
  int top = 0;
  for (auto _ : state) {
    for (int r = top; r < top + 40; ++r)
      for (int c = 0; c < model.columnCount(); ++c) {
        const QModelIndex index = model.index(r, c);
        benchmark::DoNotOptimize(model.data(index, Qt::DisplayRole));
        benchmark::DoNotOptimize(model.data(index, DataTableModel::OutOfRangeRole));
      }
    top = (top + 997) % (kMeasurements - 40);
  }
  state.SetItemsProcessed(state.iterations() * 40 * model.columnCount());
}
BENCHMARK(BM_ScreenfulData)->Unit(benchmark::kMicrosecond);

// Every value cell of the table once (6.4 million cells), the worst a copy of everything
// costs.
void BM_AllValueTexts(benchmark::State& state) {
  const TMeasurementSet& set = bigSet();
  DataTableLayout layout(QLocale(QLocale::Russian, QLocale::Russia));
  layout.Build(&set, 0, DataTableView::ByTime, false);
  for (auto _ : state) {
    size_t chars = 0;
    for (int r = 0; r < layout.rowCount(); ++r)
      for (int c = DataTableLayout::FixedCount; c < layout.columnCount(); ++c) chars += layout.CellText(r, c).size();
    benchmark::DoNotOptimize(chars);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kMeasurements) * kSensors);
}
BENCHMARK(BM_AllValueTexts)->Unit(benchmark::kMillisecond)->Iterations(1);

// The real view: fill, size and paint one screen, in either layout.
void BM_GridFillAndPaint(benchmark::State& state) {
  const TMeasurementSet& set = bigSet();
  DataTableGrid grid(DataTableGrid::Page::Radio);
  grid.tableModel()->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
  grid.setMeasurementSet(&set);
  grid.resize(1000, 700);
  const auto view = static_cast<DataTableView>(state.range(0));
  for (auto _ : state) {
    grid.Fill(0, view);
    benchmark::DoNotOptimize(grid.viewport()->grab());
  }
}
BENCHMARK(BM_GridFillAndPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Scrolling: a jump to another place in the table and one repaint.
void BM_GridScrollAndPaint(benchmark::State& state) {
  const TMeasurementSet& set = bigSet();
  DataTableGrid grid(DataTableGrid::Page::Radio);
  grid.tableModel()->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
  grid.setMeasurementSet(&set);
  grid.resize(1000, 700);
  grid.Fill(0, static_cast<DataTableView>(state.range(0)));
  int step = 0;
  for (auto _ : state) {
    step = (step + 7919) % kMeasurements;
    grid.scrollTo(state.range(0) == 0 ? grid.model()->index(step, 10) : grid.model()->index(10, step));
    benchmark::DoNotOptimize(grid.viewport()->grab());
  }
}
BENCHMARK(BM_GridScrollAndPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Resizing the window reruns the sizing rule over 100 000 sections by sensor.
void BM_GridResize(benchmark::State& state) {
  const TMeasurementSet& set = bigSet();
  DataTableGrid grid(DataTableGrid::Page::Radio);
  grid.setMeasurementSet(&set);
  grid.resize(1000, 700);
  grid.Fill(0, static_cast<DataTableView>(state.range(0)));
  int width = 1000;
  for (auto _ : state) {
    width = width == 1000 ? 1400 : 1000;
    grid.resize(width, 700);
    grid.ApplySizingRule();
  }
}
BENCHMARK(BM_GridResize)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
