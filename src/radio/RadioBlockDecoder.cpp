#include "radio/RadioBlockDecoder.h"

#include "app/DateTimeValue.h"
#include "data/Crc8.h"
#include "radio/LoggerCommand.h"

namespace {

uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
int16_t s16(const uint8_t* p) { return static_cast<int16_t>(u16(p)); }

constexpr double kSecondsPerDay = 86400.0;

// Puts slot 0 of a logger in shape for sensorCount sensors. Records already there stay
// when the sensor count is unchanged (a repeated header of the same logger); a changed
// count cannot share rows with them, so they are dropped.
void shapeSlot(TMeasurementSet& results, int logger, int sensorCount) {
  auto& temp = results.Temp[logger][0];
  if (static_cast<int>(temp.size()) == sensorCount) return;
  results.MeasTime[logger][0].clear();
  results.BatteryVoltage[logger][0].clear();
  temp.assign(static_cast<size_t>(sensorCount), {});
}

bool hasSlot(const TMeasurementSet& results, int logger) {
  return logger >= 0 && logger < results.loggerCount() && results.tkCount(logger) > 0 &&
         results.MeasTime.size() == results.TkSn.size() && !results.MeasTime[logger].empty() &&
         !results.BatteryVoltage[logger].empty() && !results.Temp[logger].empty() &&
         !results.Distance[logger].empty() && !results.TkType[logger].empty();
}

}  // namespace

int32_t RadioHeader::sensorsParam() const {
  return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint16_t>(TkSn)) << 16) |
                              static_cast<uint32_t>(SensorCount & 0xFF));
}

int32_t RadioHeader::periodCountParam() const {
  return static_cast<int32_t>((static_cast<uint32_t>(PeriodHours & 0xFF) << 16) |
                              static_cast<uint32_t>(StoredCount & 0xFFFF));
}

int RadioCentury(const QDateTime& now) { return now.date().year() / 100 * 100; }

std::optional<double> RadioDateTime(const uint8_t* dateBytes, const uint8_t* timeBytes, int century) {
  return DateTimeValue::encode(century + dateBytes[2], dateBytes[1], dateBytes[0], timeBytes[0], timeBytes[1],
                               timeBytes[2]);
}

int DecodeRadioHeader(const QByteArray& arrData, const QString& loggerId, int century, RadioHeader& header) {
  const QByteArray id = LoggerCommand::idBytes(loggerId);
  const int L = static_cast<int>(id.size());
  if (arrData.size() < L || !arrData.startsWith(id)) return HeaderEchoDiffers;
  const auto* p = reinterpret_cast<const uint8_t*>(arrData.constData());
  if (arrData.size() < L + 4) return HeaderWrongLength;
  const int n = p[L + 3];
  if (arrData.size() != RadioHeaderSize(L, n)) return HeaderWrongLength;
  if (Crc8::compute(p, static_cast<size_t>(L + 6 + 2 * n)) != 0) return HeaderCheckFailed;
  const int M = L + 6 + 2 * n;
  const std::optional<double> clock = RadioDateTime(p + M + 3, p + M + 6, century);
  if (!clock) return HeaderCheckFailed;

  header.TkType = p[L];
  header.TkSn = s16(p + L + 1);
  header.SensorCount = n;
  header.Distance.resize(static_cast<size_t>(n));
  for (int k = 0; k < n; ++k) header.Distance[k] = s16(p + L + 4 + 2 * k);
  header.ErrorCode = p[M];
  header.BatteryHundredths = u16(p + M + 1);
  header.ClockTime = *clock + u16(p + M + 9) * 8.0 / kSecondsPerDay;
  header.PeriodHours = p[M + 11] == 0 ? 1 : p[M + 11];
  header.StoredCount = u16(p + M + 12);
  return HeaderAccepted;
}

int HeaderCreator(const QByteArray& arrData, int loggerIndex, TRfLogger& logger, TMeasurementSet& results,
                  int century, RadioHeader* headerOut, const RadioLogSink& log) {
  if (log) log(QStringLiteral("in HeaderCreator"));
  RadioHeader header;
  const int result = DecodeRadioHeader(arrData, logger.LoggerId, century, header);
  if (result != HeaderAccepted) return result;
  if (hasSlot(results, loggerIndex)) {
    results.TkType[loggerIndex][0] = header.TkType;
    results.TkSn[loggerIndex][0] = header.TkSn;
    results.Distance[loggerIndex][0] = header.Distance;
    shapeSlot(results, loggerIndex, header.SensorCount);
  }
  logger.SensorCount = header.SensorCount;
  logger.BatteryVolts = header.batteryVolts();
  logger.ErrorCode = header.ErrorCode;
  logger.PeriodHours = header.PeriodHours;
  logger.StoredCount = header.StoredCount;
  logger.ClockTime = header.ClockTime;
  if (headerOut) *headerOut = std::move(header);
  return HeaderAccepted;
}

int DataCreator(const QByteArray& arrData, int recsPerBlock, int sensorCount, int loggerIndex,
                TMeasurementSet& results, int century, int32_t& recordCount, const RadioLogSink& log) {
  if (log) log(QStringLiteral("in DataCreator"));
  if (!hasSlot(results, loggerIndex) || sensorCount < 0 || recsPerBlock <= 0) return 0;
  // Records must land in rows matching the header; a slot of another shape means no
  // header was stored for this logger, and its records cannot be placed.
  if (static_cast<int>(results.Temp[loggerIndex][0].size()) != sensorCount) return 0;
  const int recSize = RadioRecordSize(sensorCount);
  const int whole = std::min<qsizetype>(recsPerBlock, arrData.size() / recSize);
  const auto* base = reinterpret_cast<const uint8_t*>(arrData.constData());
  std::vector<int16_t> temps(static_cast<size_t>(sensorCount));
  int good = 0;
  for (int r = 0; r < whole; ++r) {
    const uint8_t* rec = base + static_cast<ptrdiff_t>(r) * recSize;
    if (Crc8::compute(rec, static_cast<size_t>(recSize)) != 0) continue;
    const std::optional<double> time = RadioDateTime(rec, rec + 3, century);
    if (!time) continue;
    for (int k = 0; k < sensorCount; ++k) temps[k] = s16(rec + 8 + 2 * k);
    results.appendMeasurement(loggerIndex, 0, *time, s16(rec + 6), temps.data());
    ++recordCount;
    ++good;
  }
  return good;
}
