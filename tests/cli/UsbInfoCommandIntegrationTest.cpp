#include <gtest/gtest.h>

#include <QProcess>

namespace {

struct CliRun {
  int code;
  QString out, err;
};

CliRun cli(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(TUNDRA_CLI_PATH), args);
  EXPECT_TRUE(p.waitForFinished(30000));
  return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

TEST(UsbInfoCommandIntegrationTest, PrintsTheSimulatedLoggerImage) {
  const CliRun r = cli({"usb", "info", "--simulate"});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  for (const char* line : {"Логгер: D124SN00042", "Датчиков: 16 (1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16)",
                           "Период опроса, ч: 8", "Всего замеров: 300", "Напряжение батареи: 6.55 В",
                           "Версия микропрограммы: 2.1.7", "Объём внутренней памяти: 4 194 304 Б",
                           "Модуль GSM: есть", "Радиомодуль: есть, канал 20", "Период отправки по GSM, ч: 24",
                           "GSM APN: internet.tundra", "MQTT сервер: mqtt.tundra.local", "MQTT порт: 1883",
                           "MQTT топик данных: tk/D124SN00042/data"}) {
    EXPECT_TRUE(r.out.contains(QString::fromUtf8(line))) << line << "\n" << r.out.toStdString();
  }
  EXPECT_TRUE(r.out.contains(QStringLiteral("Дата, время логгера: ")));
}

TEST(UsbInfoCommandIntegrationTest, UsageAndFailure) {
  EXPECT_EQ(cli({"usb"}).code, 2);
  EXPECT_EQ(cli({"usb", "list"}).code, 2);
  EXPECT_EQ(cli({"usb", "info", "--bogus"}).code, 2);
  // The build machines have no logger attached: the real backend finds none.
  const CliRun r = cli({"usb", "info"});
  if (r.code != 0) {
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(r.err.trimmed().isEmpty());
  }
}

}  // namespace
