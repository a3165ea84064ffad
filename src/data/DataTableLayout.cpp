#include "data/DataTableLayout.h"

#include <QDateTime>

#include "app/DateTimeValue.h"
#include "data/MeasurementSet.h"

void DataTableLayout::Build(const TMeasurementSet* set, int loggerIndex, DataTableView view, bool dateLineBreak) {
  set_ = set;
  logger_ = loggerIndex;
  view_ = view;
  dateLineBreak_ = dateLineBreak;
  measurements_ = 0;
  sensors_ = 0;
  strings_.clear();
  if (set == nullptr || loggerIndex < 0 || !set->hasData(loggerIndex)) return;
  const int strings = set->tkCount(loggerIndex);
  for (int t = 0; t < strings; ++t) {
    const int m = stringMeasurements(t);
    if (m > 0) measurements_ = m;
    sensors_ = stringSensors(t);
  }
  for (int t = strings - 1; t >= 0; --t) strings_.push_back(t);
}

int DataTableLayout::rowCount() const {
  return view_ == DataTableView::ByTime ? measurements_ : FixedCount + sensors_;
}

int DataTableLayout::columnCount() const {
  return view_ == DataTableView::ByTime ? FixedCount + sensors_ : measurements_;
}

int DataTableLayout::gridColumnCount() const {
  // By sensor the grid never has fewer than its heading column and one more.
  return view_ == DataTableView::ByTime ? FixedCount + sensors_ : std::max(2, measurements_ + 1);
}

int DataTableLayout::stringSensors(int tk) const {
  if (set_ == nullptr || tk < 0 || tk >= set_->tkCount(logger_)) return 0;
  const auto& temp = set_->Temp[static_cast<size_t>(logger_)];
  return tk < static_cast<int>(temp.size()) ? static_cast<int>(temp[static_cast<size_t>(tk)].size()) : 0;
}

int DataTableLayout::stringMeasurements(int tk) const {
  if (stringSensors(tk) == 0) return 0;
  return static_cast<int>(set_->Temp[static_cast<size_t>(logger_)][static_cast<size_t>(tk)][0].size());
}

int DataTableLayout::stringFor(int k, int sensor) const {
  for (int t : strings_) {
    if (stringMeasurements(t) <= k) continue;
    if (sensor >= 0 && stringSensors(t) <= sensor) continue;
    return t;
  }
  return -1;
}

int DataTableLayout::stringForSensor(int sensor) const {
  for (int t : strings_) {
    if (stringSensors(t) > sensor && static_cast<int>(set_->Distance[static_cast<size_t>(logger_)]
                                                                     [static_cast<size_t>(t)].size()) > sensor)
      return t;
  }
  return -1;
}

QString DataTableLayout::sensorHeading(int sensor) const {
  const int t = stringForSensor(sensor);
  if (t < 0) return {};
  const auto l = static_cast<size_t>(logger_);
  const int16_t distance = set_->Distance[l][static_cast<size_t>(t)][static_cast<size_t>(sensor)];
  const int label = SensorLabelNumber(distance);
  const bool probe = static_cast<size_t>(t) < set_->TkType[l].size() && set_->TkType[l][static_cast<size_t>(t)] == 4;
  if (probe) {
    // A kind the program does not know keeps its number as heading, so the row or column
    // can still be told apart.
    const QString heading = QuantityKindHeading(label);
    if (!heading.isEmpty()) return heading;
  }
  return QString::number(label);
}

QString DataTableLayout::Heading(int section) const {
  const bool byTime = view_ == DataTableView::ByTime;
  switch (section) {
    case 0: return byTime ? QStringLiteral("№ п.п.") : QStringLiteral("№ замера");
    case 1: return byTime ? QStringLiteral("Дата, время") : QStringLiteral("Дата,\r\nвремя");
    case 2: return QStringLiteral("U бат.");
    default: return section >= FixedCount && section < FixedCount + sensors_ ? sensorHeading(section - FixedCount) : QString();
  }
}

QString DataTableLayout::dateTimeText(int tk, int k) const {
  const auto& times = set_->MeasTime[static_cast<size_t>(logger_)];
  if (static_cast<size_t>(tk) >= times.size() || static_cast<size_t>(k) >= times[static_cast<size_t>(tk)].size())
    return {};
  const QDateTime dt = DateTimeValue::toQDateTime(times[static_cast<size_t>(tk)][static_cast<size_t>(k)]);
  const QString separator =
      dateLineBreak_ && view_ == DataTableView::BySensor ? QStringLiteral("\r\n") : QStringLiteral(" ");
  return locale_.toString(dt.date(), QLocale::ShortFormat) + separator + dt.time().toString(QStringLiteral("HH:mm:ss"));
}

QString DataTableLayout::CellText(int row, int column) const {
  const bool byTime = view_ == DataTableView::ByTime;
  const int k = byTime ? row : column;
  const int item = byTime ? column : row;
  if (k < 0 || k >= measurements_ || item < 0 || item >= FixedCount + sensors_) return {};
  const int sensor = item - FixedCount;
  const int t = stringFor(k, sensor >= 0 ? sensor : -1);
  if (t < 0) return {};
  const auto l = static_cast<size_t>(logger_);
  const auto tk = static_cast<size_t>(t);
  const auto kk = static_cast<size_t>(k);
  switch (item) {
    case 0: return QString::number(k + 1);
    case 1: return dateTimeText(t, k);
    case 2: {
      const auto& volts = set_->BatteryVoltage[l];
      if (tk >= volts.size() || kk >= volts[tk].size()) return {};
      return HundredthsText(volts[tk][kk], locale_.decimalPoint());
    }
    default: {
      const auto& series = set_->Temp[l][tk][static_cast<size_t>(sensor)];
      if (kk >= series.size() || series[kk] == NoTempValue) return {};
      return HundredthsText(series[kk], locale_.decimalPoint());
    }
  }
}

bool DataTableLayout::OutOfRange(int row, int column, double minLimit, double maxLimit) const {
  const bool byTime = view_ == DataTableView::ByTime;
  const int k = byTime ? row : column;
  const int sensor = (byTime ? column : row) - FixedCount;
  if (k < 0 || k >= measurements_ || sensor < 0 || sensor >= sensors_) return false;
  const int t = stringFor(k, sensor);
  if (t < 0) return false;
  const auto& series = set_->Temp[static_cast<size_t>(logger_)][static_cast<size_t>(t)][static_cast<size_t>(sensor)];
  if (static_cast<size_t>(k) >= series.size()) return false;
  return ValueOutOfRange(series[static_cast<size_t>(k)], minLimit, maxLimit);
}

QString DataTableLayout::HundredthsText(int value, const QString& decimalPoint) {
  const bool negative = value < 0;
  const long long magnitude = negative ? -static_cast<long long>(value) : value;
  QString text = negative ? QStringLiteral("-") : QString();
  text += QString::number(magnitude / 100);
  const int fraction = static_cast<int>(magnitude % 100);
  if (fraction != 0) {
    text += decimalPoint;
    if (fraction % 10 == 0)
      text += QString::number(fraction / 10);
    else
      text += QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0'));
  }
  return text;
}

bool DataTableLayout::ValueOutOfRange(int16_t value, double minLimit, double maxLimit) {
  if (value == NoTempValue) return false;
  const double v = value / 100.0;
  return v > maxLimit || v < minLimit;
}

DataTableWidths DataTableLayout::SizingRule(DataTableView view, int width, int gridColumns) {
  const long long w = width;
  if (view == DataTableView::BySensor) {
    const long long span = static_cast<long long>(gridColumns) * 61;
    const int def = span > 0 && span < w ? static_cast<int>(w * 60 / span) : 60;
    return {def, def};
  }
  const long long a = static_cast<long long>(gridColumns - 1) * 41 + 110;
  if (a > 0 && a < w) return {static_cast<int>(w * 40 / a), static_cast<int>(w * 110 / a)};
  return {40, 110};
}

QString DataTableLayout::SelectionText(int top, int bottom, int left, int right,
                                       const std::function<QString(int, int)>& cell) {
  QString text;
  if (top > bottom || left > right) return text;
  for (int r = top; r <= bottom; ++r) {
    for (int c = left; c <= right; ++c) {
      text += cell(r, c);
      text += QLatin1Char('\t');
    }
    text += QStringLiteral("\r\n");
  }
  return text;
}
