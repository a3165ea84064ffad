#include "radio/CommThread.h"

#include <QTime>

#include <cerrno>

#include "app/Clock.h"
#include "app/Logging.h"
#include "radio/LoggerCommand.h"

namespace {
QString flagText(bool flag) { return flag ? QStringLiteral("-1") : QStringLiteral("0"); }

QString hexLine(const QByteArray& bytes) {
  QString line;
  line.reserve(bytes.size() * 3);
  for (const char c : bytes) {
    const auto b = static_cast<uint8_t>(c);
    line += QLatin1Char(bin2char(b >> 4));
    line += QLatin1Char(bin2char(b & 0x0F));
    line += QLatin1Char(' ');
  }
  return line;
}

// A bounded wait for a stopping thread; a thread is never terminated.
constexpr unsigned long kStopWaitMs = 5000;
}  // namespace

TCommThread::TCommThread(std::unique_ptr<SerialPort> port, const Clock& clock, const QString& logFileName,
                         QObject* parent)
    : QThread(parent), port_(std::move(port)), clock_(clock), log_(clock, logFileName) {}

TCommThread::~TCommThread() {
  if (isRunning()) {
    requestInterruption();
    quit();
    wait(kStopWaitMs);
  }
  log_.append(QStringLiteral("TCommThread.Destroy"));
  closePort();
  // The held lines die with the link; when tracing they reach the file first.
  log_.endOfRequest(verboseTrace_);
}

QString TCommThread::OpenErrorText(int errorCode) {
  switch (errorCode) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
      return QStringLiteral("Попытка открыть несуществующий COM-порт");
    case EBUSY:
      return QStringLiteral("Порт занят другой программой");
    case EACCES:
    case EPERM:
      return QStringLiteral("Нет прав доступа к COM-порту, код ошибки %1").arg(errorCode);
    default:
      return QStringLiteral("Не удалось открыть COM-порт, код ошибки %1").arg(errorCode);
  }
}

uint8_t TCommThread::PowerCode(int powerChoice) {
  switch (powerChoice) {
    case 0: return 0xC0;
    case 1: return 0x60;
    case 2: return 0x6E;
    default: return 0x60;
  }
}

QByteArray TCommThread::SetupCommand() { return QByteArray("#T\x02\x00\x12", 5); }

void TCommThread::closePort() {
  if (port_ && port_->isOpen()) port_->close();
  portOpen_ = false;
}

bool TCommThread::checked(bool ok) {
  lastOpOk_ = ok;
  return ok;
}

TCommThread::OpenResult TCommThread::OpenLink(const QString& portName) {
  OpenResult result;
  portName_ = portName;
  log_.append(QStringLiteral("Create: Trying to open COM-port"));
  const int openError = port_->open(portName);
  if (openError != 0) {
    portOpen_ = false;
    result.errorText = OpenErrorText(openError);
    log_.append(result.errorText);
    return result;
  }
  portOpen_ = true;

  auto step = [&](int error, const char* function) {
    lastOpOk_ = error == 0;
    if (error != 0 && result.errorText.isEmpty())
      result.errorText = QStringLiteral("Функция %1 вернула код ошибки %2").arg(QLatin1String(function)).arg(error);
    return error == 0;
  };
  if (!step(port_->readLineSettings(), "GetCommState") || !step(port_->writeLineSettings({}), "SetCommState") ||
      !step(port_->setTimeouts({}), "SetCommTimeouts") || !step(port_->setQueueSizes(kQueueSize, kQueueSize), "SetupComm")) {
    log_.append(result.errorText);
    return result;  // the port stays open until the object is discarded
  }

  PurgeComPort(true, true);
  SetRts(1);
  SetDtr(0);
  SendToModem(true, QByteArray("#?"), true);

  const QString name = ModemName();
  if (name.size() >= 11 && name.startsWith(QStringLiteral("D130"))) {
    result.modemText = QStringLiteral("USB/PM ") + name.mid(4, 7);
    log_.append(QStringLiteral("Create: New thread started: port=") + portName);
  } else {
    result.errorText = QStringLiteral("Радиомодем не обнаружен");
    closePort();
    log_.append(QStringLiteral("Create: Радиомодем не обнаружен на СОМ") + portName);
  }
  return result;
}

int TCommThread::RxBufCount() {
  if (!portOpen_) return -1;
  const int n = port_->queuedBytes();
  checked(n >= 0);
  return n;
}

int TCommThread::ReadCOM(uint8_t* buffer, int count) {
  if (!portOpen_) return -1;
  const int n = port_->read(buffer, count);
  checked(n >= 0);
  return n;
}

int TCommThread::WriteCOM(const uint8_t* buffer, int count) {
  if (!portOpen_) return -1;
  log_.append(QStringLiteral("WriteCOM: data sent at ") + clock_.now().time().toString(QStringLiteral("HH:mm:ss.zzz")) +
              QStringLiteral("; BytesCount = ") + QString::number(count));
  if (verboseTrace_) WriteHexDump(buffer, static_cast<size_t>(count), log_.fileName());
  const int n = port_->write(buffer, count);
  checked(n >= 0);
  return n;
}

bool TCommThread::SetRts(int value) {
  if (!portOpen_ || (value != 0 && value != 1)) return false;
  return port_->setRts(value == 1);
}

bool TCommThread::SetDtr(int value) {
  if (!portOpen_ || (value != 0 && value != 1)) return false;
  return port_->setDtr(value == 1);
}

bool TCommThread::PurgeComPort(bool rx, bool tx) {
  if (!portOpen_) return false;
  return port_->purge(rx, tx);
}

QString TCommThread::ModemName() const {
  std::lock_guard lock(nameMutex_);
  return modemName_;
}

void TCommThread::SendToModem(bool prog, const QByteArray& cmdstr, bool getModemName) {
  log_.append(QStringLiteral("SendToModem => prog=") + flagText(prog) + QStringLiteral("; cmdstr=") +
              LoggerCommand::Printable(cmdstr));
  if (cmdstr.isEmpty()) return;
  if (prog) {
    SetRts(0);
    QThread::msleep(kRtsLeadMs);
  }
  // A command is never longer than 255 bytes; anything beyond is not sent.
  const QByteArray bytes = cmdstr.left(255);
  log_.append(hexLine(bytes));
  log_.append(LoggerCommand::Printable(bytes));
  WriteCOM(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<int>(bytes.size()));
  if (prog) {
    QThread::msleep(kRtsTrailMs);
    SetRts(1);
  }
  if (!(prog && getModemName)) return;

  std::lock_guard lock(nameMutex_);
  modemName_.clear();
  const int nb = RxBufCount();
  if (nb < 2) {
    log_.append(QStringLiteral("SendToModem: getModemName error: (nb < 2)"));
    return;
  }
  if (nb > 20) {
    log_.append(QStringLiteral("SendToModem: getModemName error: (nb > 20)"));
    return;
  }
  if (ReadCOM(dataBuf_.data(), nb) != nb) {
    log_.append(QStringLiteral("SendToModem: getModemName error: (ReadCOM(DataBuf, nb) <> nb)"));
    return;
  }
  if (dataBuf_[0] != '?') {
    log_.append(QStringLiteral("SendToModem: getModemName error: (DataBuf[0] <> byte(\"?\"))"));
    return;
  }
  for (int i = 1; i < nb; ++i) {
    if (dataBuf_[i] < 0x20) {
      modemName_.clear();
      log_.append(QStringLiteral("SendToModem: getModemName error: (DataBuf[i] < $20)"));
      return;
    }
    modemName_ += QChar(static_cast<char16_t>(dataBuf_[i]));
  }
}

void TCommThread::SendChannel(uint8_t channel) {
  QByteArray command("#C");
  command.append(static_cast<char>(channel));
  SendToModem(true, command, false);
}

void TCommThread::SendSetup() { SendToModem(true, SetupCommand(), false); }

void TCommThread::SendPower(int powerChoice) {
  QByteArray command("#P");
  command.append(static_cast<char>(PowerCode(powerChoice)));
  SendToModem(true, command, false);
}
