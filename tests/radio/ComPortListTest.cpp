#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "radio/ComPortList.h"

namespace {
void touch(const QString& path, const QByteArray& content = {}) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(content);
}
}  // namespace

TEST(ListComPorts, OnlyDevicesWithHardwareBehindThem) {
  QTemporaryDir root;
  const QString dev = root.filePath(QStringLiteral("dev"));
  const QString sys = root.filePath(QStringLiteral("sys"));
  for (const char* name : {"ttyUSB0", "ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyS1", "ttyS5", "tty0", "ttyUSB7"})
    touch(dev + QLatin1Char('/') + QLatin1String(name));
  for (const char* name : {"ttyUSB0", "ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyS1", "ttyS5", "tty0"})
    QDir().mkpath(sys + QLatin1Char('/') + QLatin1String(name) + QStringLiteral("/device"));
  touch(sys + QStringLiteral("/ttyS0/type"), "4\n");  // a real UART
  touch(sys + QStringLiteral("/ttyS1/type"), "0\n");  // a placeholder without one
  // ttyS5 has no type at all; ttyUSB7 has no device entry (unplugged); tty0 is no serial port.
  const QStringList expected = {dev + QStringLiteral("/ttyACM0"), dev + QStringLiteral("/ttyS0"),
                                dev + QStringLiteral("/ttyUSB0"), dev + QStringLiteral("/ttyUSB2"),
                                dev + QStringLiteral("/ttyUSB10")};
  EXPECT_EQ(ListComPorts(dev, sys), expected);
  EXPECT_TRUE(ListComPorts(root.filePath(QStringLiteral("none")), sys).isEmpty());
}
