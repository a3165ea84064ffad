#include "radio/RfLoggerRows.h"

#include "app/Clock.h"
#include "app/DateTimeValue.h"
#include "data/MeasurementSet.h"

RfLoggerRows::RfLoggerRows(TRfLoggerArray& list, QObject* parent) : QObject(parent), list_(list) {}

QString RfLoggerRows::cell(int row, int column) const {
  if (!validRow(row) || column < 0 || column >= ColumnCount) return {};
  return cells_[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

bool RfLoggerRows::selected(int row) const { return validLogger(row) && list_[static_cast<size_t>(row)].Selected; }

void RfLoggerRows::setSelected(int row, bool selected) {
  if (!validLogger(row) || list_[static_cast<size_t>(row)].Selected == selected) return;
  list_[static_cast<size_t>(row)].Selected = selected;
  emit rowChanged(row);
}

void RfLoggerRows::setCurrentDevRow(int index) {
  if (index == currentDevRow_) return;
  const int old = currentDevRow_;
  currentDevRow_ = index;
  if (validRow(old)) emit rowChanged(old);
  if (validRow(index)) emit rowChanged(index);
}

void RfLoggerRows::trace(const QString& message) {
  if (!trace_) return;
  const Clock& clock = clock_ ? *clock_ : Clock::system();
  trace_(DateTimeValue::traceStamp(clock.now()) + QStringLiteral(": ") + message);
}

void RfLoggerRows::FillDevList(TMeasurementSet& radioSet) {
  trace(QStringLiteral("in FillDevList"));
  for (TRfLogger& logger : list_) logger.Status = 0;
  radioSet.reset(static_cast<int>(list_.size()));
  indicators_.assign(list_.size(), RfLoggerIndicators{});
  emit rowsReset();
}

void RfLoggerRows::FreeDevList() {
  trace(QStringLiteral("in FreeDevList"));
  indicators_.clear();
  emit rowsReset();
}

void RfLoggerRows::resizeRows(int count) { cells_.assign(static_cast<size_t>(count), {}); }

void RfLoggerRows::ShowListRows() {
  resizeRows(static_cast<int>(list_.size()));
  for (size_t i = 0; i < list_.size(); ++i) {
    cells_[i][0] = kIndent + list_[i].LoggerId;
    cells_[i][1] = ModelNameRu(list_[i].LoggerId);
  }
  emit rowsReset();
}

void RfLoggerRows::ShowRadioData(const TMeasurementSet& set, bool fileShown) {
  resizeRows(static_cast<int>(list_.size()));
  for (size_t i = 0; i < list_.size(); ++i) {
    const TRfLogger& logger = list_[i];
    auto& row = cells_[i];
    const int index = static_cast<int>(i);
    row[0] = kIndent + logger.LoggerId;
    row[1] = ModelNameRu(logger.LoggerId);
    const bool hasString = set.tkCount(index) > 0;
    if (fileShown) {
      if (hasString) {
        row[2] = QString::number(set.TkSn[i][0]);
        row[3] = QString::number(set.sensorCount(index, 0));
        row[5] = QString::number(set.sensorCount(index, 0) > 0 ? static_cast<int>(set.Temp[i][0][0].size()) : 0);
      }
    } else if (logger.Status >= 2 && logger.Status <= 5) {
      if (hasString) row[2] = QString::number(set.TkSn[i][0]);
      row[3] = QString::number(logger.SensorCount);
      row[4] = QString::number(logger.PeriodHours);
      row[5] = QString::number(logger.StoredCount);
      row[6] = DateTimeValue::fileDate(logger.ClockTime) + QLatin1Char(' ') + DateTimeValue::fileTime(logger.ClockTime);
      row[7] = ShortestDecimal(logger.BatteryVolts, locale_);
      row[8] = kIndent + QString::number(logger.ErrorCode);
    }
  }
  emit rowsReset();
}

void RfLoggerRows::HideErrorsAndBatteries() {
  for (size_t i = 0; i < indicators_.size(); ++i) {
    indicators_[i].errorVisible = false;
    indicators_[i].batteryPicture = -1;
    indicators_[i].batteryHint.clear();
    emit rowChanged(static_cast<int>(i));
  }
}

QString RfLoggerRows::OnDevStatus(int index, int status) {
  if (!validLogger(index)) return {};
  list_[static_cast<size_t>(index)].Status = static_cast<uint8_t>(status);
  RfLoggerIndicators::Dot dot;
  QString hint;
  if (!StatusIndicator(status, &dot, &hint)) return {};
  if (hasIndicators(index)) {
    RfLoggerIndicators& ind = indicators_[static_cast<size_t>(index)];
    ind.statusDot = dot;
    ind.statusHint = hint;
    if (status == 0) {
      ind.antennaVisible = false;
      ind.barVisible = false;
    } else if (status == 1) {
      ind.antennaVisible = true;
      ind.antennaHint = QStringLiteral("Нет сигнала");
    }
    emit rowChanged(index);
  }
  return hint;
}

void RfLoggerRows::OnSignal(int index, uint8_t signalByte) {
  if (!validLogger(index)) return;
  const double level = SignalLevelFromByte(signalByte);
  list_[static_cast<size_t>(index)].SignalLevel = level;
  if (!hasIndicators(index)) return;
  RfLoggerIndicators& ind = indicators_[static_cast<size_t>(index)];
  const QString hint = ShortestDecimal(level, locale_) + QStringLiteral("dBm");
  ind.antennaHint = hint;
  ind.barHint = hint;
  ind.barWidth = SignalBarWidth(level);
  ind.barVisible = true;
  emit rowChanged(index);
}

void RfLoggerRows::OnErrorCode(int index, int code) {
  if (!validLogger(index)) return;
  TRfLogger& logger = list_[static_cast<size_t>(index)];
  logger.ErrorCode = static_cast<uint8_t>(code);
  logger.ErrorText = LoggerErrorText(logger.ErrorCode);
  if (validRow(index)) cells_[static_cast<size_t>(index)][8] = kIndent + QString::number(logger.ErrorCode);
  if (hasIndicators(index)) {
    RfLoggerIndicators& ind = indicators_[static_cast<size_t>(index)];
    ind.errorHint = logger.ErrorText;
    ind.errorGreen = logger.ErrorCode == 0;
    ind.errorVisible = true;
  }
  emit rowChanged(index);
}

void RfLoggerRows::setBattery(int index) {
  const TRfLogger& logger = list_[static_cast<size_t>(index)];
  if (!hasIndicators(index)) return;
  RfLoggerIndicators& ind = indicators_[static_cast<size_t>(index)];
  ind.batteryPicture = BatteryPictureIndex(logger.LoggerId, logger.BatteryVolts);
  ind.batteryHint = BatteryHint(logger.LoggerId, logger.BatteryVolts, locale_);
}

void RfLoggerRows::OnVoltage(int index, int hundredths) {
  if (!validLogger(index)) return;
  TRfLogger& logger = list_[static_cast<size_t>(index)];
  logger.BatteryVolts = hundredths / 100.0;
  setBattery(index);
  if (validRow(index)) cells_[static_cast<size_t>(index)][7] = ShortestDecimal(logger.BatteryVolts, locale_);
  emit rowChanged(index);
}

void RfLoggerRows::OnSensors(int index, uint32_t lParam) {
  if (!validLogger(index)) return;
  TRfLogger& logger = list_[static_cast<size_t>(index)];
  logger.TkSerial = static_cast<uint16_t>(lParam >> 16);
  logger.SensorCount = static_cast<int32_t>(lParam & 0xFF);
  if (validRow(index)) {
    cells_[static_cast<size_t>(index)][2] = QString::number(logger.TkSerial);
    cells_[static_cast<size_t>(index)][3] = QString::number(logger.SensorCount);
  }
  emit rowChanged(index);
}

void RfLoggerRows::OnPeriodCount(int index, uint32_t lParam) {
  if (!validLogger(index)) return;
  TRfLogger& logger = list_[static_cast<size_t>(index)];
  logger.PeriodHours = static_cast<int32_t>((lParam >> 16) & 0xFF);
  logger.StoredCount = static_cast<int32_t>(lParam & 0xFFFF);
  if (validRow(index)) {
    cells_[static_cast<size_t>(index)][4] = QString::number(logger.PeriodHours);
    cells_[static_cast<size_t>(index)][5] = QString::number(logger.StoredCount);
  }
  emit rowChanged(index);
}
