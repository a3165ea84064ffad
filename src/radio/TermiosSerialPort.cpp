#include "radio/TermiosSerialPort.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

using SteadyClock = std::chrono::steady_clock;

speed_t speedCode(int baud) {
  switch (baud) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
  }
}

int remainingMs(SteadyClock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Waits until the descriptor is ready for events or the deadline passes. Returns 1 ready,
// 0 time-out, -1 failure (including a hung-up device).
int waitReady(int fd, short events, SteadyClock::time_point deadline) {
  for (;;) {
    pollfd p{fd, events, 0};
    const int r = ::poll(&p, 1, remainingMs(deadline));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return r;
    if (p.revents & (POLLERR | POLLNVAL)) return -1;
    if (p.revents & events) return 1;
    if (p.revents & POLLHUP) return -1;
    return 0;
  }
}

}  // namespace

TermiosSerialPort::~TermiosSerialPort() { close(); }

bool TermiosSerialPort::uucpLockHeld(const QString& device, const QString& lockDir) {
  const QString name = QFileInfo(device).fileName();
  QFile lock(lockDir + QStringLiteral("/LCK..") + name);
  if (!lock.open(QIODevice::ReadOnly)) return false;
  // Lock files hold the owner's pid as ten ASCII characters or as a binary int.
  const QByteArray content = lock.read(64);
  bool ok = false;
  long pid = content.trimmed().toLong(&ok);
  if (!ok && content.size() == static_cast<int>(sizeof(int))) {
    int binary = 0;
    std::memcpy(&binary, content.constData(), sizeof binary);
    pid = binary;
    ok = true;
  }
  if (!ok || pid <= 0 || pid == ::getpid()) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

int TermiosSerialPort::open(const QString& device) {
  close();
  const QByteArray path = QFile::encodeName(device);
  const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno;
  for (const char* dir : {"/var/lock", "/run/lock"}) {
    if (uucpLockHeld(device, QString::fromLatin1(dir))) {
      ::close(fd);
      return EBUSY;
    }
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno == EWOULDBLOCK ? EBUSY : errno;
    ::close(fd);
    return err;
  }
  // Not every device knows TIOCEXCL (a device that is no terminal fails later, when its
  // settings are read), so its failure is not an open failure.
  ::ioctl(fd, TIOCEXCL);
  fd_ = fd;
  settingsRead_ = false;
  return 0;
}

void TermiosSerialPort::close() {
  if (fd_ < 0) return;
  ::ioctl(fd_, TIOCNXCL);
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
  settingsRead_ = false;
}

int TermiosSerialPort::readLineSettings() {
  if (fd_ < 0) return EBADF;
  if (::tcgetattr(fd_, &settings_) != 0) return errno;
  settingsRead_ = true;
  return 0;
}

int TermiosSerialPort::writeLineSettings(const SerialLineSettings& wanted) {
  if (fd_ < 0) return EBADF;
  if (!settingsRead_) {
    const int err = readLineSettings();
    if (err != 0) return err;
  }
  const speed_t speed = speedCode(wanted.baudRate);
  if (speed == B0) return EINVAL;
  termios t = settings_;
  // Hardware flow control and the modem-control modes stay as the driver has them.
  const tcflag_t keptControl = t.c_cflag & (CRTSCTS | CLOCAL | HUPCL);
  // Raw mode: without it bytes wait in the line discipline for a line end and the queue
  // count stays 0. Software flow control goes too: the radio payload is binary, and XON /
  // XOFF handling would swallow its 0x11 and 0x13 bytes.
  ::cfmakeraw(&t);
  t.c_iflag &= ~(IXON | IXOFF | IXANY);
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | CLOCAL | HUPCL);
  t.c_cflag |= keptControl | CREAD;
  switch (wanted.dataBits) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    default: t.c_cflag |= CS8; break;
  }
  if (wanted.parity) t.c_cflag |= PARENB;
  if (wanted.stopBits == 2) t.c_cflag |= CSTOPB;
  // Reads never block in the kernel: time-outs are ours (poll).
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  ::cfsetispeed(&t, speed);
  ::cfsetospeed(&t, speed);
  if (::tcsetattr(fd_, TCSANOW, &t) != 0) return errno;
  settings_ = t;
  return 0;
}

int TermiosSerialPort::setTimeouts(const SerialTimeouts& timeouts) {
  if (fd_ < 0) return EBADF;
  if (timeouts.readTotalMultiplier < 0 || timeouts.readTotalConstant < 0 || timeouts.writeTotalMultiplier < 0 ||
      timeouts.writeTotalConstant < 0)
    return EINVAL;
  timeouts_ = timeouts;
  return 0;
}

int TermiosSerialPort::setQueueSizes(int rxBytes, int txBytes) {
  // The terminal layer keeps its own fixed queues (the receive side holds 4096 bytes,
  // which is what the link asks for); there is nothing to choose.
  if (fd_ < 0) return EBADF;
  return rxBytes > 0 && txBytes > 0 ? 0 : EINVAL;
}

bool TermiosSerialPort::purge(bool rx, bool tx) {
  if (fd_ < 0) return false;
  if (!rx && !tx) return true;
  const int which = rx && tx ? TCIOFLUSH : (rx ? TCIFLUSH : TCOFLUSH);
  return ::tcflush(fd_, which) == 0;
}

bool TermiosSerialPort::setModemLine(int line, bool on) {
  if (fd_ < 0) return false;
  // A pseudo-terminal has no modem lines and answers ENOTTY: a false result, nothing more.
  return ::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line) == 0;
}

bool TermiosSerialPort::setRts(bool on) { return setModemLine(TIOCM_RTS, on); }

bool TermiosSerialPort::setDtr(bool on) { return setModemLine(TIOCM_DTR, on); }

int TermiosSerialPort::queuedBytes() {
  if (fd_ < 0) return -1;
  int count = 0;
  if (::ioctl(fd_, FIONREAD, &count) != 0) return -1;
  if (count == 0) {
    // A vanished device still reports an empty queue; poll tells it apart.
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLERR | POLLNVAL | POLLHUP)) && !(p.revents & POLLIN)) return -1;
  }
  return count;
}

int TermiosSerialPort::read(uint8_t* buffer, int count) {
  if (fd_ < 0 || count < 0 || (count > 0 && !buffer)) return -1;
  const auto deadline =
      SteadyClock::now() + std::chrono::milliseconds(timeouts_.readTotalMultiplier * count + timeouts_.readTotalConstant);
  int done = 0;
  while (done < count) {
    const ssize_t n = ::read(fd_, buffer + done, static_cast<size_t>(count - done));
    if (n > 0) {
      done += static_cast<int>(n);
      continue;
    }
    if (n == 0) return done > 0 ? done : -1;  // end of file: the other side is gone
    if (errno == EINTR) continue;
    if (errno != EAGAIN) return done > 0 ? done : -1;
    const int ready = waitReady(fd_, POLLIN, deadline);
    if (ready < 0) return done > 0 ? done : -1;
    if (ready == 0) break;
  }
  return done;
}

int TermiosSerialPort::write(const uint8_t* buffer, int count) {
  if (fd_ < 0 || count < 0 || (count > 0 && !buffer)) return -1;
  const auto deadline = SteadyClock::now() +
                        std::chrono::milliseconds(timeouts_.writeTotalMultiplier * count + timeouts_.writeTotalConstant);
  int done = 0;
  while (done < count) {
    const ssize_t n = ::write(fd_, buffer + done, static_cast<size_t>(count - done));
    if (n > 0) {
      done += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return -1;
    const int ready = waitReady(fd_, POLLOUT, deadline);
    if (ready < 0) return -1;
    if (ready == 0) break;
  }
  return done;
}
