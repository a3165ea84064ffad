#include "data/MeasurementSet.h"

#include "app/Rounding.h"

int TMeasurementSet::tkCount(int logger) const {
  return logger >= 0 && logger < loggerCount() ? static_cast<int>(TkSn[logger].size()) : 0;
}

int TMeasurementSet::sensorCount(int logger, int tk) const {
  return tk >= 0 && tk < tkCount(logger) ? static_cast<int>(Distance[logger][tk].size()) : 0;
}

int TMeasurementSet::measurementCount(int logger, int tk) const {
  return tk >= 0 && tk < tkCount(logger) ? static_cast<int>(MeasTime[logger][tk].size()) : 0;
}

bool TMeasurementSet::hasData(int logger) const { return sensorCount(logger, 0) > 0; }

void TMeasurementSet::clear() { reset(0); }

void TMeasurementSet::reset(int loggers) {
  const auto n = static_cast<size_t>(loggers);
  TkSn.assign(n, {0});
  TkType.assign(n, {0});
  Distance.assign(n, {{}});
  MeasTime.assign(n, {{}});
  BatteryVoltage.assign(n, {{}});
  Temp.assign(n, {{}});
}

void TMeasurementSet::clearFirstString(int logger) {
  if (tkCount(logger) == 0) return;
  Distance[logger][0].clear();
  Temp[logger][0].clear();
  MeasTime[logger][0].clear();
  BatteryVoltage[logger][0].clear();
}

int TMeasurementSet::addString(int logger, int16_t serial, uint8_t type, std::vector<int16_t> distances) {
  const size_t sensors = distances.size();
  TkSn[logger].push_back(serial);
  TkType[logger].push_back(type);
  Distance[logger].push_back(std::move(distances));
  MeasTime[logger].emplace_back();
  BatteryVoltage[logger].emplace_back();
  Temp[logger].emplace_back(sensors);
  return static_cast<int>(TkSn[logger].size()) - 1;
}

void TMeasurementSet::appendMeasurement(int logger, int tk, double time, int16_t battery, const int16_t* values) {
  MeasTime[logger][tk].push_back(time);
  BatteryVoltage[logger][tk].push_back(battery);
  auto& series = Temp[logger][tk];
  for (size_t s = 0; s < series.size(); ++s) series[s].push_back(values[s]);
}

bool TMeasurementSet::isConsistent() const {
  const size_t n = TkSn.size();
  if (TkType.size() != n || Distance.size() != n || MeasTime.size() != n || BatteryVoltage.size() != n ||
      Temp.size() != n)
    return false;
  for (size_t i = 0; i < n; ++i) {
    const size_t k = TkSn[i].size();
    if (TkType[i].size() != k || Distance[i].size() != k || MeasTime[i].size() != k ||
        BatteryVoltage[i].size() != k || Temp[i].size() != k)
      return false;
    for (size_t j = 0; j < k; ++j) {
      const size_t m = MeasTime[i][j].size();
      if (Temp[i][j].size() != Distance[i][j].size() || BatteryVoltage[i][j].size() != m) return false;
      for (const auto& series : Temp[i][j])
        if (series.size() != m) return false;
    }
  }
  return true;
}

int SensorLabelNumber(int16_t distance) { return static_cast<int>(RoundHalfEven(distance / 100.0)); }

QString QuantityKindHeading(int kind) {
  switch (kind) {
    case 0: return QStringLiteral("To, °C");
    case 1: return QStringLiteral("RH, %");
    case 2: return QStringLiteral("AH, g/m");
    case 3: return QStringLiteral("DP, °C");
    case 4: return QStringLiteral("Pa, mm");
    default: return {};
  }
}
