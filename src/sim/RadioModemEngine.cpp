#include "sim/RadioModemEngine.h"

#include <QStringList>

#include <algorithm>

#include "app/Clock.h"
#include "radio/RfLogger.h"

namespace {

constexpr int kIdLength = 11;
constexpr int kLoggerCommandLength = kIdLength + 7;
constexpr int kMaxPayload = 59;

const std::pair<RadioFault, const char*> kFaultNames[] = {
    {RadioFault::DamagedLength, "damaged-length"}, {RadioFault::CounterGap, "counter-gap"},
    {RadioFault::ClearCheckBit, "clear-check-bit"}, {RadioFault::BadRecordCrc, "bad-record-crc"},
    {RadioFault::ShortBlock, "short-block"},       {RadioFault::Silence, "silence"},
    {RadioFault::Garbage, "garbage"},              {RadioFault::Empty, "empty"},
};

bool dataOnly(RadioFault fault) { return fault == RadioFault::BadRecordCrc || fault == RadioFault::ShortBlock; }

RadioSimLogger makeLogger(int model, int serial, int sensors, int records, const QDateTime& now, int16_t tkSerial) {
  RadioSimLogger logger;
  logger.id = MakeLoggerId(model, serial);
  logger.tkType = 1;
  logger.tkSerial = tkSerial;
  for (int k = 0; k < sensors; ++k) logger.distances.push_back(static_cast<int16_t>(50 + 100 * k));
  logger.periodHours = 1;
  logger.signal = static_cast<uint8_t>(0x20 + serial % 16);
  // The newest record is from the last full hour, as a logger polling hourly would have.
  const QDateTime last(now.date(), QTime(now.time().hour(), 0));
  for (int r = 0; r < records; ++r)
    logger.records.push_back(logger.makeRecord(last.addSecs(-3600LL * (records - 1 - r)), r));
  return logger;
}

}  // namespace

std::optional<RadioFault> RadioFaultFromName(const QString& name) {
  for (const auto& [fault, text] : kFaultNames)
    if (name == QLatin1String(text)) return fault;
  return std::nullopt;
}

QStringList RadioFaultNames() {
  QStringList names;
  for (const auto& entry : kFaultNames) names.append(QLatin1String(entry.second));
  return names;
}

RadioSimConfig RadioSimConfig::demo(const QDateTime& now) {
  RadioSimConfig config;
  config.answerDelayMs = 20;
  config.loggers.push_back(makeLogger(122, 101, 8, 24 * 30, now, 2101));
  config.loggers.push_back(makeLogger(123, 42, 12, 24 * 60, now, 2342));
  config.loggers.push_back(makeLogger(123, 57, 16, 24 * 14, now, 2357));
  config.loggers.back().battery = 331;
  return config;
}

RadioSimConfig RadioSimConfig::generated(int loggers, int records, int sensors, const QDateTime& now) {
  RadioSimConfig config;
  for (int i = 0; i < loggers; ++i)
    config.loggers.push_back(makeLogger(i % 2 ? 123 : 122, i + 1, sensors, records, now, static_cast<int16_t>(1000 + i)));
  return config;
}

RadioModemEngine::RadioModemEngine(RadioSimConfig config, const Clock& clock)
    : config_(std::move(config)), clock_(clock) {
  config_.maxPayload = std::clamp(config_.maxPayload, 1, kMaxPayload);
}

QByteArray RadioModemEngine::receive(const QByteArray& bytes) {
  std::lock_guard lock(mutex_);
  pending_.append(bytes);
  QByteArray out;
  while (!pending_.isEmpty()) {
    const char first = pending_.at(0);
    if (first == '#') {
      if (pending_.size() < 2) break;
      const char c = pending_.at(1);
      const int need = c == 'C' || c == 'P' ? 3 : (c == 'T' ? 5 : 2);
      if (pending_.size() < need) break;
      const QByteArray command = pending_.left(need);
      pending_.remove(0, need);
      handleModemCommand(command, out);
    } else if (first == 'D') {
      if (pending_.size() < kLoggerCommandLength) break;
      const QByteArray command = pending_.left(kLoggerCommandLength);
      pending_.remove(0, kLoggerCommandLength);
      handleLoggerCommand(command, out);
    } else {
      pending_.remove(0, 1);
    }
  }
  return out;
}

void RadioModemEngine::lineIdle() {
  std::lock_guard lock(mutex_);
  pending_.clear();
}

void RadioModemEngine::handleModemCommand(const QByteArray& command, QByteArray& out) {
  commands_.append(command);
  switch (command.at(1)) {
    case '?':
      if (!config_.modemSilent) out.append(config_.identifyReply);
      break;
    case 'C': channel_ = static_cast<uint8_t>(command.at(2)); break;
    case 'P': power_ = static_cast<uint8_t>(command.at(2)); break;
    default: break;  // "#T" and unknown commands: accepted, no reply
  }
}

RadioSimLogger* RadioModemEngine::find(const QString& id) {
  for (auto& logger : config_.loggers)
    if (logger.id == id) return &logger;
  return nullptr;
}

QDateTime RadioModemEngine::loggerNow(const RadioSimLogger& logger) const {
  return clock_.now().addMSecs(logger.clockOffsetMs);
}

void RadioModemEngine::handleLoggerCommand(const QByteArray& command, QByteArray& out) {
  commands_.append(command);
  RadioSimLogger* logger = find(QString::fromLatin1(command.left(kIdLength)));
  if (!logger || logger->neverAnswers) return;
  if (logger->channel >= 0 && logger->channel != channel_) return;
  std::optional<Answer> answer = answerFor(*logger, command.mid(kIdLength));
  if (answer) sendAnswer(*logger, std::move(*answer), out);
}

std::optional<RadioModemEngine::Answer> RadioModemEngine::answerFor(RadioSimLogger& logger, const QByteArray& tail) {
  const QByteArray id = logger.id.toLatin1();
  const auto byte = [&](int i) { return static_cast<uint8_t>(tail.at(i)); };
  Answer answer;
  if (tail == "HEADER-") {
    if (logger.records.empty()) return Answer{id + "EMPTY", {}, false};
    answer.text = id + "START";
    answer.data = logger.headerBlock(loggerNow(logger));
  } else if (tail.at(0) == 'D' && tail.endsWith("--")) {
    const int start = (byte(1) << 8) | byte(2);
    const int count = (byte(3) << 8) | byte(4);
    const int stored = static_cast<int>(logger.records.size());
    if (start >= stored || count == 0) return Answer{id + "EMPTY", {}, true};
    // Positions count back from the newest record (0); the block runs oldest first.
    const int newest = stored - 1 - start;
    const int oldest = std::max(0, stored - 1 - (start + count - 1));
    answer.text = id + "START";
    answer.isDataBlock = true;
    for (int i = oldest; i <= newest; ++i) answer.data.append(logger.recordBlock(logger.records[i]));
  } else if (tail.at(0) == 'T') {
    const QDate date(clock_.now().date().year() / 100 * 100 + byte(3), byte(2), byte(1));
    const QTime time(byte(4), byte(5), byte(6));
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    logger.clockOffsetMs = clock_.now().msecsTo(QDateTime(date, time));
    answer.text = id + "READY";
  } else if (tail == "ERASE--") {
    logger.records.clear();
    answer.text = id + "ERASE";
  } else if (tail.at(0) == 'P' && tail.endsWith("-----")) {
    logger.periodHours = byte(1);
    answer.text = id + "READY";
  } else if (tail == "MEASE--") {
    const QDateTime now = loggerNow(logger);
    logger.records.push_back(logger.makeRecord(QDateTime(now.date(), QTime(now.time().hour(), now.time().minute(),
                                                                           now.time().second())),
                                               static_cast<int>(logger.records.size())));
    answer.text = id + "READY";
  } else if (tail.at(0) == 'C' && tail.endsWith("-----")) {
    logger.channel = byte(1);
    answer.text = id + "READY";
  } else {
    return std::nullopt;
  }
  return answer;
}

void RadioModemEngine::sendAnswer(RadioSimLogger& logger, Answer answer, QByteArray& out) {
  std::optional<RadioFault> fault;
  auto& queue = faults_[logger.id];
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    if (dataOnly(*it) && !(answer.isDataBlock && !answer.data.isEmpty())) continue;
    fault = *it;
    queue.erase(it);
    break;
  }
  if (fault == RadioFault::Silence) return;
  if (fault == RadioFault::Empty) answer = Answer{logger.id.toLatin1() + "EMPTY", {}, false};
  if (fault == RadioFault::BadRecordCrc) {
    const int recSize = 2 * logger.sensorCount() + 10;
    answer.data[recSize - 1] = static_cast<char>(answer.data.at(recSize - 1) ^ 0x5A);
  }
  if (fault == RadioFault::ShortBlock) answer.data.chop(1);
  if (fault == RadioFault::Garbage) out.append(QByteArray::fromHex("ff00135aa5"));

  std::vector<QByteArray> payloads{answer.text.left(kMaxPayload)};
  for (qsizetype pos = 0; pos < answer.data.size(); pos += config_.maxPayload)
    payloads.push_back(answer.data.mid(pos, config_.maxPayload));
  for (size_t i = 0; i < payloads.size(); ++i) {
    const bool last = i + 1 == payloads.size();
    if (last && fault == RadioFault::CounterGap) ++counter_;
    QByteArray packet;
    const int length = static_cast<int>(payloads[i].size()) + 4;
    packet.append(static_cast<char>(last && fault == RadioFault::DamagedLength ? 63 : length - 1));
    packet.append(static_cast<char>(counter_++));
    packet.append(payloads[i]);
    packet.append(static_cast<char>(logger.signal));
    packet.append(static_cast<char>(last && fault == RadioFault::ClearCheckBit ? 0x05 : 0x85));
    out.append(packet);
  }
}

void RadioModemEngine::injectFault(const QString& id, RadioFault fault, int times) {
  std::lock_guard lock(mutex_);
  for (int i = 0; i < times; ++i) faults_[id].push_back(fault);
}

void RadioModemEngine::setNeverAnswers(const QString& id, bool on) {
  std::lock_guard lock(mutex_);
  if (RadioSimLogger* logger = find(id)) logger->neverAnswers = on;
}

void RadioModemEngine::setIdentifyReply(const QByteArray& reply, bool silent) {
  std::lock_guard lock(mutex_);
  config_.identifyReply = reply;
  config_.modemSilent = silent;
}

std::optional<RadioSimLogger> RadioModemEngine::logger(const QString& id) const {
  std::lock_guard lock(mutex_);
  for (const auto& logger : config_.loggers)
    if (logger.id == id) return logger;
  return std::nullopt;
}

QStringList RadioModemEngine::loggerIds() const {
  std::lock_guard lock(mutex_);
  QStringList ids;
  for (const auto& logger : config_.loggers) ids.append(logger.id);
  return ids;
}

QList<QByteArray> RadioModemEngine::commands() const {
  std::lock_guard lock(mutex_);
  return commands_;
}

int RadioModemEngine::modemChannel() const {
  std::lock_guard lock(mutex_);
  return channel_;
}

uint8_t RadioModemEngine::powerCode() const {
  std::lock_guard lock(mutex_);
  return power_;
}

int RadioModemEngine::answerDelayMs() const {
  std::lock_guard lock(mutex_);
  return config_.answerDelayMs;
}
