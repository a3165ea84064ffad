#include "sim/RadioSimulator.h"

#include <QDateTime>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include "app/Clock.h"

namespace {
// A command not completed within this silence is dropped, as a modem drops a frame.
constexpr int kIdleMs = 100;

void closeFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}
}  // namespace

RadioSimulator::RadioSimulator(RadioSimConfig config, const Clock& clock)
    : engine_(std::make_unique<RadioModemEngine>(std::move(config), clock)) {}

RadioSimulator::RadioSimulator() : RadioSimulator(RadioSimConfig::demo(Clock::system().now()), Clock::system()) {}

RadioSimulator::~RadioSimulator() { stop(); }

bool RadioSimulator::start(QString* error) {
  if (isRunning()) return true;
  auto fail = [&](const char* what) {
    if (error) *error = QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
    closeFd(master_);
    closeFd(slave_);
    closeFd(wakeRead_);
    closeFd(wakeWrite_);
    return false;
  };
  char name[256] = {};
  if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) return fail("openpty");
  // The serial side starts raw, so nothing is echoed or translated before a client sets
  // its own modes; the simulator keeps it open so the line never hangs up between clients.
  termios t{};
  if (::tcgetattr(slave_, &t) == 0) {
    ::cfmakeraw(&t);
    ::tcsetattr(slave_, TCSANOW, &t);
  }
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  ::fcntl(master_, F_SETFD, FD_CLOEXEC);
  ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return fail("pipe");
  wakeRead_ = pipeFds[0];
  wakeWrite_ = pipeFds[1];
  ptyPath_ = QString::fromLocal8Bit(name);
  stopping_ = false;
  thread_ = std::thread([this] { serve(); });
  return true;
}

void RadioSimulator::stop() {
  if (!thread_.joinable()) return;
  stopping_ = true;
  const char wake = 1;
  (void)!::write(wakeWrite_, &wake, 1);
  thread_.join();
  closeFd(master_);
  closeFd(slave_);
  closeFd(wakeRead_);
  closeFd(wakeWrite_);
}

bool RadioSimulator::pause(int ms) {
  if (ms <= 0) return !stopping_;
  pollfd p{wakeRead_, POLLIN, 0};
  ::poll(&p, 1, ms);
  return !stopping_;
}

bool RadioSimulator::writeAll(const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size() && !stopping_) {
    const ssize_t n = ::write(master_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
    if (n > 0) {
      done += n;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return false;
    // The client's receive queue is full: wait until it reads, or until stop().
    pollfd p[2] = {{master_, POLLOUT, 0}, {wakeRead_, POLLIN, 0}};
    ::poll(p, 2, kIdleMs);
  }
  return true;
}

void RadioSimulator::serve() {
  char buffer[4096];
  while (!stopping_) {
    pollfd p[2] = {{master_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    const int r = ::poll(p, 2, kIdleMs);
    if (stopping_) break;
    if (r < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (r == 0) {
      engine_->lineIdle();
      continue;
    }
    if (!(p[0].revents & POLLIN)) {
      // A hang-up without data: no client side is open right now; poll again after a pause.
      if (p[0].revents & (POLLHUP | POLLERR)) pause(kIdleMs);
      continue;
    }
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n <= 0) continue;
    const QByteArray answer = engine_->receive(QByteArray(buffer, static_cast<qsizetype>(n)));
    if (answer.isEmpty()) continue;
    // Modem replies ("#?") go out at once; a logger's answer comes after the radio delay.
    const bool loggerAnswer = buffer[0] != '#';
    if (loggerAnswer && !pause(engine_->answerDelayMs())) break;
    writeAll(answer);
  }
}
