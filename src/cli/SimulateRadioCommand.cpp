// tundrabase-cli simulate-radio: a radio modem with radio loggers on a pseudo-terminal,
// served until SIGINT or SIGTERM. Prints the port path first, then one line per logger.
#include <QDateTime>
#include <QStringList>

#include <csignal>
#include <cstdio>

#include "app/Clock.h"
#include "cli/CliCommand.h"
#include "sim/RadioSimulator.h"

namespace {

bool takeInt(const QStringList& args, int& i, int low, int high, int& value) {
  if (i + 1 >= args.size()) return false;
  bool ok = false;
  value = args.at(++i).toInt(&ok);
  return ok && value >= low && value <= high;
}

int usageError() {
  std::fprintf(stderr,
               "usage: tundrabase-cli simulate-radio [--loggers N] [--records M] [--sensors K] [--fault NAME]\n"
               "faults: %s\n",
               qPrintable(RadioFaultNames().join(QStringLiteral(", "))));
  return 2;
}

int run(const QStringList& args) {
  int loggers = -1;
  int records = 24 * 30;
  int sensors = 10;
  QStringList faults;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args.at(i);
    if (a == QLatin1String("--loggers")) {
      if (!takeInt(args, i, 1, 99999, loggers)) return usageError();
    } else if (a == QLatin1String("--records")) {
      if (!takeInt(args, i, 0, 65535, records)) return usageError();
    } else if (a == QLatin1String("--sensors")) {
      if (!takeInt(args, i, 0, 255, sensors)) return usageError();
    } else if (a == QLatin1String("--fault") && i + 1 < args.size() && RadioFaultFromName(args.at(i + 1))) {
      faults.append(args.at(++i));
    } else {
      return usageError();
    }
  }
  const QDateTime now = Clock::system().now();
  const bool custom = loggers > 0 || args.contains(QStringLiteral("--records")) ||
                      args.contains(QStringLiteral("--sensors"));
  RadioSimConfig config = custom ? RadioSimConfig::generated(loggers > 0 ? loggers : 3, records, sensors, now)
                                 : RadioSimConfig::demo(now);
  config.answerDelayMs = 20;

  // The signals are taken by sigwait below; blocked before the serving thread starts, so
  // that thread inherits the mask and never receives them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  RadioSimulator simulator(config, Clock::system());
  QString error;
  if (!simulator.start(&error)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }
  for (const QString& name : faults)
    for (const QString& id : simulator.engine().loggerIds()) simulator.engine().injectFault(id, *RadioFaultFromName(name));
  std::printf("%s\n", qPrintable(simulator.ptyPath()));
  for (const RadioSimLogger& logger : config.loggers)
    std::printf("%s sensors=%d records=%zu\n", qPrintable(logger.id), logger.sensorCount(), logger.records.size());
  std::fflush(stdout);

  int received = 0;
  sigwait(&stopSignals, &received);
  simulator.stop();
  return 0;
}

const CliCommand kSimulateRadio("simulate-radio",
                                "simulate-radio [--loggers N] [--records M] [--sensors K] [--fault NAME]", run);

}  // namespace
