#include "data/DataFileParser.h"

#include <QDate>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "app/Cp1251.h"
#include "data/Crc8.h"

namespace {

constexpr std::string_view kCrLf("\r\n", 2);
constexpr size_t kShortestLine = 13;
const qint64 kEpochJd = QDate(1899, 12, 30).toJulianDay();

// A part of a line from pos, at most count bytes, empty past the end (never throws).
std::string_view cut(std::string_view line, size_t pos, size_t count = std::string_view::npos) {
  if (pos >= line.size()) return {};
  return line.substr(pos, count);
}

// An integer as the files write it: leading blanks, an optional sign, decimal digits and
// nothing after them. Inlined: it runs once per value field.
[[gnu::always_inline]] inline bool readNumber(const char* begin, const char* end, int& value) {
  while (begin < end && *begin == ' ') ++begin;
  if (begin < end && *begin == '+') {
    ++begin;
    if (begin == end || *begin < '0' || *begin > '9') return false;
  }
  const auto res = std::from_chars(begin, end, value);
  return res.ec == std::errc() && res.ptr == end;
}

std::optional<int> numberOf(std::string_view text) {
  int value = 0;
  if (!readNumber(text.data(), text.data() + text.size(), value)) return std::nullopt;
  return value;
}

[[gnu::always_inline]] inline bool readInt16(const char* begin, const char* end, int16_t& value) {
  int v = 0;
  if (!readNumber(begin, end, v) || v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
    return false;
  value = static_cast<int16_t>(v);
  return true;
}

std::optional<int16_t> int16Of(std::string_view text) {
  int16_t value = 0;
  if (!readInt16(text.data(), text.data() + text.size(), value)) return std::nullopt;
  return value;
}

int twoDigits(const char* p) {
  if (p[0] < '0' || p[0] > '9' || p[1] < '0' || p[1] > '9') return -1;
  return (p[0] - '0') * 10 + (p[1] - '0');
}

uint8_t crcOf(std::string_view bytes, uint8_t reg) { return Crc8::compute(bytes.data(), bytes.size(), reg); }

QString idText(int model, int serial) {
  QString digits = QString::number(std::abs(static_cast<qint64>(serial)));
  if (digits.size() < 5) digits.prepend(QString(5 - digits.size(), QLatin1Char('0')));
  return QStringLiteral("D") + QString::number(model) + QStringLiteral("SN") +
         (serial < 0 ? QStringLiteral("-") : QString()) + digits;
}

// Lines after pos, up to the next logger or thermal-string line, that the reader will take
// as measurement lines: an upper bound of the string's measurements, for reserving.
size_t measurementLinesAhead(std::string_view bytes, size_t pos) {
  size_t count = 0;
  while (pos < bytes.size()) {
    const void* nl = std::memchr(bytes.data() + pos, '\n', bytes.size() - pos);
    const size_t end = nl ? static_cast<size_t>(static_cast<const char*>(nl) - bytes.data()) : bytes.size();
    size_t len = end - pos;
    if (len > 0 && bytes[end - 1] == '\r') --len;
    if (len >= kShortestLine) {
      const char first = bytes[pos];
      if (first == 'D' || first == 'T') break;
      if (first != '/') ++count;
    }
    pos = nl ? end + 1 : bytes.size();
  }
  return count;
}

}  // namespace

int DataFileParser::currentCenturyBase() { return QDate::currentDate().year() / 100 * 100; }

void DataFileParser::reset() {
  c_ = DataFileContent();
  stage_ = 0;
  reg_ = 0;
}

void DataFileParser::switchToUsb() {
  c_.usbFile = true;
  c_.usbSet.clear();
  // The USB set has just lost its logger: lines up to the next logger line have no place.
  stage_ = 0;
}

void DataFileParser::takeRadio() {
  c_.radioTaken = true;
  c_.radioLoggers.clear();
  c_.radioSet.clear();
}

DataFileContent DataFileParser::parse(std::string_view bytes) {
  reset();
  size_t pos = 0;
  int lineNo = 0;
  while (pos < bytes.size()) {
    const void* nl = std::memchr(bytes.data() + pos, '\n', bytes.size() - pos);
    const size_t end = nl ? static_cast<size_t>(static_cast<const char*>(nl) - bytes.data()) : bytes.size();
    std::string_view line = bytes.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos = nl ? end + 1 : bytes.size();
    ++lineNo;
    if (line.size() < kShortestLine) continue;

    const char first = line[0];
    if (first == '/') {
      if (line.find(" (USB) ") != std::string_view::npos) switchToUsb();
      continue;
    }
    if (stage_ == 0 && !c_.usbFile) takeRadio();
    if (first == 'D') {
      if (!ParseLoggerLine(line)) ++c_.damagedCount;
    } else if (first == 'T') {
      if (stage_ == 0) continue;
      if (!ParseTkLine(line, measurementLinesAhead(bytes, pos))) ++c_.damagedCount;
    } else if (stage_ == 2) {
      const MeasurementResult r = ParseMeasurementLine(line);
      if (r == MeasurementResult::Damaged) {
        ++c_.damagedCount;
      } else if (r == MeasurementResult::Fatal) {
        c_.errorLine = lineNo;
        c_.errorText = QStringLiteral("line %1: battery voltage is not a number").arg(lineNo);
        completeUsbHeader();
        return std::move(c_);
      }
    }
  }
  c_.endReached = true;
  completeUsbHeader();
  return std::move(c_);
}

bool DataFileParser::ParseLoggerLine(std::string_view line) {
  if (line.size() < kShortestLine) return false;
  const auto model = numberOf(cut(line, 1, 3));
  const auto serial = numberOf(cut(line, 8, 5));
  if (!model || !serial) return false;
  QString firmware = QStringLiteral("n/a");
  QString comment;
  size_t i = 14;
  while (i < line.size()) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (c == 'A' || c == 'Y') {
      if (!numberOf(cut(line, i + 2, 5))) return false;
      i += 7;
    } else if (c == 'F') {
      firmware = Cp1251::decode(cut(line, i + 2, 5));
      i += 7;
    } else if (c == 0xA9) {  // "©" in Windows-1251
      comment = Cp1251::decode(cut(line, i + 2));
      break;
    } else {
      ++i;
    }
  }

  const QString id = idText(*model, *serial);
  if (c_.usbFile) {
    c_.usbSet.clear();
    c_.usbSet.TkSn.emplace_back();
    c_.usbSet.TkType.emplace_back();
    c_.usbSet.Distance.emplace_back();
    c_.usbSet.MeasTime.emplace_back();
    c_.usbSet.BatteryVoltage.emplace_back();
    c_.usbSet.Temp.emplace_back();
    c_.usbHeader = UsbFileHeader();
    c_.usbHeader.loggerId = id;
    c_.usbHeader.firmware = firmware;
  } else {
    TRfLogger logger;
    logger.LoggerId = id;
    logger.Firmware = firmware;
    logger.Comment = comment;
    logger.Selected = true;
    c_.radioLoggers.push_back(std::move(logger));
    auto& s = c_.radioSet;
    s.TkSn.emplace_back();
    s.TkType.emplace_back();
    s.Distance.emplace_back();
    s.MeasTime.emplace_back();
    s.BatteryVoltage.emplace_back();
    s.Temp.emplace_back();
  }
  reg_ = crcOf(kCrLf, 0);
  reg_ = crcOf(line, reg_);
  reg_ = crcOf(kCrLf, reg_);
  stage_ = 1;
  return true;
}

bool DataFileParser::ParseTkLine(std::string_view line, size_t measurementLinesAhead) {
  const auto fail = [this] {
    // Measurement lines after a damaged thermal-string line belong to no string read.
    if (stage_ == 2) stage_ = 1;
    return false;
  };
  TMeasurementSet& set = c_.usbFile ? c_.usbSet : c_.radioSet;
  const int logger = c_.usbFile ? 0 : static_cast<int>(c_.radioLoggers.size()) - 1;
  if (line.size() < kShortestLine || logger < 0 || logger >= set.loggerCount()) return fail();
  if (set.tkCount(logger) >= MaxStrings) return fail();

  // The type is one digit; a longer type code shifts the rest of the line by its extra
  // digits, as the writer puts it.
  size_t typeDigits = 0;
  while (typeDigits < 3 && 1 + typeDigits < line.size() && line[1 + typeDigits] >= '0' && line[1 + typeDigits] <= '9')
    ++typeDigits;
  if (typeDigits == 0) return fail();
  const int type = *numberOf(line.substr(1, typeDigits));
  if (type > 255) return fail();
  const size_t shift = typeDigits - 1;
  const auto serial = numberOf(cut(line, 8 + shift, 5));
  if (!serial || *serial < std::numeric_limits<int16_t>::min() || *serial > std::numeric_limits<uint16_t>::max())
    return fail();

  const size_t start = 22 + shift;
  size_t width = 0;
  bool seen = false;
  while (width <= 20 && line.size() >= start + width + 1) {
    if (line[start + width] != ' ')
      seen = true;
    else if (seen)
      break;
    ++width;
  }
  std::vector<int16_t> positions;
  if (width > 0) {
    for (size_t i = 0; line.size() >= start + width * (i + 1); ++i) {
      if (positions.size() >= MaxSensors) return fail();
      const auto p = int16Of(line.substr(start + width * i, width));
      if (!p) return fail();
      positions.push_back(*p);
    }
  }

  c_.valueFieldWidth = static_cast<int>(width);
  const int sensors = static_cast<int>(positions.size());
  const int tk = set.addString(logger, static_cast<int16_t>(*serial), static_cast<uint8_t>(type), std::move(positions));
  set.MeasTime[logger][tk].reserve(measurementLinesAhead);
  set.BatteryVoltage[logger][tk].reserve(measurementLinesAhead);
  for (auto& series : set.Temp[logger][tk]) series.reserve(measurementLinesAhead);
  if (c_.usbFile) {
    c_.usbHeader.tkType = static_cast<uint8_t>(type);
    c_.usbHeader.tkSerial = static_cast<uint16_t>(*serial);
    c_.usbHeader.sensorCount += sensors;
  } else {
    c_.radioLoggers[logger].SensorCount += sensors;
  }
  if (tk > 0) reg_ = crcOf(kCrLf, 0);
  reg_ = crcOf(line, reg_);
  reg_ = crcOf(kCrLf, reg_);
  stage_ = 2;
  return true;
}

DataFileParser::MeasurementResult DataFileParser::ParseMeasurementLine(std::string_view line) {
  if (line.size() < 17) return MeasurementResult::Damaged;
  const char* p = line.data();
  if (p[2] != '.' || p[5] != '.' || p[8] != ' ' || p[11] != ':' || p[14] != ':') return MeasurementResult::Damaged;
  const int day = twoDigits(p), month = twoDigits(p + 3), year = twoDigits(p + 6);
  const int hour = twoDigits(p + 9), minute = twoDigits(p + 12), second = twoDigits(p + 15);
  if (day < 0 || month < 0 || year < 0 || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 ||
      second > 59)
    return MeasurementResult::Damaged;
  const QDate date(centuryBase_ + year, month, day);
  if (!date.isValid()) return MeasurementResult::Damaged;

  TMeasurementSet& set = c_.usbFile ? c_.usbSet : c_.radioSet;
  const int logger = c_.usbFile ? 0 : static_cast<int>(c_.radioLoggers.size()) - 1;
  const int tk = set.tkCount(logger) - 1;
  if (tk < 0) return MeasurementResult::Damaged;

  // The battery field ends with the "V" at character 22; a wider voltage, which the writer
  // writes whole, moves the "V" and the value fields right by as much.
  size_t batteryEnd = 21;
  if (line.size() > 21 && line[21] != 'V') {
    size_t k = 21;
    while (k < 23 && k < line.size() && line[k] >= '0' && line[k] <= '9') ++k;
    if (k > 21 && k < line.size() && line[k] == 'V') batteryEnd = k;
  }
  const auto battery = int16Of(cut(line, 17, batteryEnd - 17));
  if (!battery) return MeasurementResult::Fatal;

  const size_t start = batteryEnd + 1;
  const size_t width = static_cast<size_t>(c_.valueFieldWidth);
  auto& series = set.Temp[logger][tk];
  const size_t sensors = series.size();
  set.MeasTime[logger][tk].push_back(static_cast<double>(date.toJulianDay() - kEpochJd) +
                                     static_cast<double>((hour * 3600 + minute * 60 + second) * 1000) / 86400000.0);
  set.BatteryVoltage[logger][tk].push_back(*battery);
  // Fields wholly inside the line; the others stay "no value".
  const size_t complete = width == 0 || line.size() < start ? 0 : std::min(sensors, (line.size() - start) / width);
  const char* field = line.data() + start;
  for (size_t s = 0; s < complete; ++s, field += width) {
    int16_t value = NoTempValue;
    if (!readInt16(field, field + width, value)) value = NoTempValue;
    series[s].push_back(value);
  }
  for (size_t s = complete; s < sensors; ++s) series[s].push_back(NoTempValue);

  reg_ = crcOf(line.substr(0, line.size() - 6), reg_);
  const auto check = numberOf(line.substr(line.size() - 4, 3));
  if (!check || *check != reg_) c_.signatureOk = false;
  reg_ = 0;
  return MeasurementResult::Read;
}

void DataFileParser::completeUsbHeader() {
  if (!c_.usbFile) return;
  UsbFileHeader& h = c_.usbHeader;
  const TMeasurementSet& s = c_.usbSet;
  h.sensorCount = s.sensorCount(0, 0);
  h.measurementCount = s.measurementCount(0, 0);
  h.distances = s.tkCount(0) > 0 ? s.Distance[0][0] : std::vector<int16_t>();
  if (h.measurementCount >= 2) {
    const auto& t = s.MeasTime[0][0];
    // Whole seconds first: a day count of one hour is a hair under 1/24.
    const double seconds = std::round(std::fabs(t[h.measurementCount - 1] - t[h.measurementCount - 2]) * 86400.0);
    h.measurementPeriod = static_cast<int32_t>(std::min(seconds / 3600.0, 2.0e9));
  }
}
