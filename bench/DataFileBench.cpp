// Writing and reading a data file of 100 000 measurements x 64 sensors, against counting
// its lines as a floor for any reader, and one workbook export of it.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "app/DateTimeValue.h"
#include "data/DataFileParser.h"
#include "data/DataFileWriter.h"
#include "graph/ExcelExport.h"
#include "graph/XlsWriter.h"

namespace {

constexpr int kMeasurements = 100000;
constexpr int kSensors = 64;

struct Sample {
  TMeasurementSet set;
  TRfLoggerArray loggers;
  QByteArray file;

  Sample() {
    set.reset(1);
    std::vector<int16_t> distances(kSensors);
    for (int s = 0; s < kSensors; ++s) distances[s] = static_cast<int16_t>(s * 50);
    set.clearFirstString(0);
    set.Distance[0][0] = distances;
    set.Temp[0][0].assign(kSensors, {});
    const double start = *DateTimeValue::encode(2020, 1, 1);
    std::vector<int16_t> values(kSensors);
    for (int m = 0; m < kMeasurements; ++m) {
      for (int s = 0; s < kSensors; ++s) values[s] = static_cast<int16_t>((m * 31 + s * 97) % 5000 - 2500);
      set.appendMeasurement(0, 0, start + m / 24.0, static_cast<int16_t>(360 - m % 50), values.data());
    }
    TRfLogger logger;
    logger.LoggerId = QStringLiteral("D122SN00017");
    loggers = {logger};
    file = DataFileWriter::radioBytes(set, loggers, QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
  }
};

const Sample& sample() {
  static const Sample s;
  return s;
}

void BM_WriteDataFile(benchmark::State& state) {
  const Sample& s = sample();
  for (auto _ : state) {
    QByteArray bytes = DataFileWriter::radioBytes(s.set, s.loggers, QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(state.iterations() * s.file.size());
}
BENCHMARK(BM_WriteDataFile)->Unit(benchmark::kMillisecond);

void BM_ReadDataFile(benchmark::State& state) {
  const Sample& s = sample();
  for (auto _ : state) {
    DataFileContent c = DataFileParser(2000).parse(std::string_view(s.file.constData(), s.file.size()));
    if (!c.signatureOk || c.radioSet.measurementCount(0, 0) != kMeasurements) state.SkipWithError("bad read");
    benchmark::DoNotOptimize(c.radioSet.Temp.data());
  }
  state.SetBytesProcessed(state.iterations() * s.file.size());
}
BENCHMARK(BM_ReadDataFile)->Unit(benchmark::kMillisecond);

// What `wc -l` does: find every line feed.
void BM_CountLines(benchmark::State& state) {
  const Sample& s = sample();
  for (auto _ : state) {
    size_t lines = 0;
    const char* p = s.file.constData();
    const char* end = p + s.file.size();
    while ((p = static_cast<const char*>(std::memchr(p, '\n', end - p)))) {
      ++lines;
      ++p;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(state.iterations() * s.file.size());
}
BENCHMARK(BM_CountLines)->Unit(benchmark::kMillisecond);

void BM_ExportWorkbook(benchmark::State& state) {
  const Sample& s = sample();
  for (auto _ : state) {
    XlsWriter w;
    ExcelExport::WriteSheet(w, DataPage::Radio, s.set, 0, s.loggers[0].LoggerId);
    w.end();
    benchmark::DoNotOptimize(w.buffer().data());
  }
}
BENCHMARK(BM_ExportWorkbook)->Unit(benchmark::kMillisecond);

}  // namespace

// With TUNDRA_BENCH_SAVE=FILE.tmd the sample file is also written there, to open it in the
// program and look at its table and graph.
int main(int argc, char** argv) {
  if (const char* path = std::getenv("TUNDRA_BENCH_SAVE")) {
    QFile out(QString::fromLocal8Bit(path));
    if (!out.open(QIODevice::WriteOnly) || out.write(sample().file) != sample().file.size()) return 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
