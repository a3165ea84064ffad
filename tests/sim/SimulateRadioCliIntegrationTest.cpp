#include <QProcess>

#include <gtest/gtest.h>

#include "app/Clock.h"
#include "radio/CommThread.h"
#include "radio/TermiosSerialPort.h"

// The command-line simulator serves a port the link can open, and stops cleanly on SIGTERM.
TEST(SimulateRadioCli, ServesAPortUntilStopped) {
  QProcess process;
  process.start(QStringLiteral(TUNDRA_CLI_PATH),
                {QStringLiteral("simulate-radio"), QStringLiteral("--loggers"), QStringLiteral("2"),
                 QStringLiteral("--records"), QStringLiteral("5"), QStringLiteral("--sensors"), QStringLiteral("4")});
  ASSERT_TRUE(process.waitForStarted(30000));
  QByteArray output;
  while (output.count('\n') < 3 && process.waitForReadyRead(30000)) output += process.readAllStandardOutput();
  const QList<QByteArray> lines = output.split('\n');
  ASSERT_GE(lines.size(), 3) << output.toStdString();
  const QString path = QString::fromLocal8Bit(lines[0]);
  EXPECT_TRUE(path.startsWith(QStringLiteral("/dev/pts/"))) << path.toStdString();
  EXPECT_EQ(lines[1], "D122SN00001 sensors=4 records=5");

  TCommThread link(std::make_unique<TermiosSerialPort>(), Clock::system());
  TCommThread::OpenResult result;
  for (int attempt = 0; attempt < 40; ++attempt) {
    result = link.OpenLink(path);
    if (result.errorText != QStringLiteral("Радиомодем не обнаружен")) break;
  }
  EXPECT_EQ(result.modemText, QStringLiteral("USB/PM A000417"));

  process.terminate();
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0);
}

TEST(SimulateRadioCli, UsageErrors) {
  for (const QStringList& args : {QStringList{QStringLiteral("--loggers")}, QStringList{QStringLiteral("--sensors"), QStringLiteral("x")},
                                  QStringList{QStringLiteral("--fault"), QStringLiteral("nonsense")}}) {
    QProcess process;
    process.start(QStringLiteral(TUNDRA_CLI_PATH), QStringList{QStringLiteral("simulate-radio")} + args);
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 2) << args.join(' ').toStdString();
  }
}
