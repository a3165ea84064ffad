#include <gmock/gmock.h>

#include <QFile>

#include "DataFileSamples.h"
#include "TestSupport.h"
#include "app/Cp1251.h"
#include "data/DataFileParser.h"
#include "data/DataFileWriter.h"

namespace {

DataFileContent parse(const QByteArray& bytes) {
  return DataFileParser(2000).parse(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

QByteArray exampleBytes() {
  QFile f(fixturePath("datafile/example.tmd"));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray replaceLine(QByteArray bytes, int index, const QByteArray& text) {
  QList<QByteArray> lines = bytes.split('\n');
  lines[index] = text + '\r';
  return lines.join('\n');
}

QByteArray lineAt(const QByteArray& bytes, int index) { return bytes.split('\n')[index].chopped(1); }

void expectSameSets(const TMeasurementSet& a, const TMeasurementSet& b) {
  EXPECT_EQ(a.TkSn, b.TkSn);
  EXPECT_EQ(a.TkType, b.TkType);
  EXPECT_EQ(a.Distance, b.Distance);
  EXPECT_EQ(a.BatteryVoltage, b.BatteryVoltage);
  EXPECT_EQ(a.Temp, b.Temp);
  ASSERT_EQ(a.MeasTime.size(), b.MeasTime.size());
  for (size_t i = 0; i < a.MeasTime.size(); ++i) {
    ASSERT_EQ(a.MeasTime[i].size(), b.MeasTime[i].size());
    for (size_t k = 0; k < a.MeasTime[i].size(); ++k) {
      ASSERT_EQ(a.MeasTime[i][k].size(), b.MeasTime[i][k].size());
      for (size_t m = 0; m < a.MeasTime[i][k].size(); ++m) EXPECT_NEAR(a.MeasTime[i][k][m], b.MeasTime[i][k][m], 1e-8);
    }
  }
}

TEST(DataFileParser, ReadsTheExample) {
  const DataFileContent c = parse(exampleBytes());
  EXPECT_TRUE(c.endReached);
  EXPECT_TRUE(c.signatureOk);
  EXPECT_EQ(c.damagedCount, 0);
  EXPECT_FALSE(c.usbFile);
  EXPECT_TRUE(c.radioTaken);
  ASSERT_EQ(c.radioLoggers.size(), 1u);
  EXPECT_EQ(c.radioLoggers[0].LoggerId, QStringLiteral("D122SN00017"));
  EXPECT_EQ(c.radioLoggers[0].Firmware, QStringLiteral("n/a"));
  EXPECT_EQ(c.radioLoggers[0].Comment, QString());
  EXPECT_TRUE(c.radioLoggers[0].Selected);
  EXPECT_EQ(c.radioLoggers[0].SensorCount, 2);
  TMeasurementSet expected;
  TRfLoggerArray loggers;
  samples::example(expected, loggers);
  expectSameSets(c.radioSet, expected);
  EXPECT_TRUE(c.radioSet.isConsistent());
}

TEST(DataFileParser, RoundTripKeepsEveryValueInBothVariants) {
  TMeasurementSet set;
  samples::addLogger(set, {5, 3}, 40, 1);
  samples::addLogger(set, {1}, 3, 2);
  samples::addLogger(set, {7, 2, 4}, 11, 3);
  TRfLoggerArray loggers(3);
  for (int i = 0; i < 3; ++i) loggers[i].LoggerId = MakeLoggerId(121 + i, 100 + i);
  loggers[2].Comment = QStringLiteral("Скважина №3, глубина 10 м");
  const DataFileContent radio = parse(DataFileWriter::radioBytes(set, loggers, samples::exampleWritten()));
  EXPECT_TRUE(radio.endReached && radio.signatureOk);
  EXPECT_EQ(radio.damagedCount, 0);
  expectSameSets(radio.radioSet, set);
  ASSERT_EQ(radio.radioLoggers.size(), 3u);
  EXPECT_EQ(radio.radioLoggers[1].LoggerId, loggers[1].LoggerId);
  EXPECT_EQ(radio.radioLoggers[2].Comment, loggers[2].Comment);
  EXPECT_EQ(radio.radioLoggers[2].SensorCount, 13);

  TMeasurementSet usbSet;
  samples::addLogger(usbSet, {6, 2}, 25, 4);
  const DataFileContent usb =
      parse(DataFileWriter::usbBytes(usbSet, QStringLiteral("D121SN00042"), samples::exampleWritten()));
  EXPECT_TRUE(usb.usbFile);
  EXPECT_FALSE(usb.radioTaken);
  EXPECT_TRUE(usb.endReached && usb.signatureOk);
  expectSameSets(usb.usbSet, usbSet);
  EXPECT_EQ(usb.usbHeader.loggerId, QStringLiteral("D121SN00042"));
  EXPECT_EQ(usb.usbHeader.sensorCount, 6);
  EXPECT_EQ(usb.usbHeader.measurementCount, 25);
  EXPECT_EQ(usb.usbHeader.measurementPeriod, 1);
  EXPECT_EQ(usb.usbHeader.tkSerial, 41);  // the last string read
  EXPECT_EQ(usb.usbHeader.distances, usbSet.Distance[0][0]);
}

TEST(DataFileParser, WideFieldsTheWriterShiftsReadBack) {
  TMeasurementSet set;
  samples::addLogger(set, {2}, 0, 0);
  set.TkType[0][0] = 12;
  set.TkSn[0][0] = -25536;  // serial 40000 of the logger
  const int16_t values[] = {-32768, 32767};
  set.appendMeasurement(0, 0, samples::at(2024, 1, 2, 3, 4, 5), 12345, values);
  set.appendMeasurement(0, 0, samples::at(2024, 1, 2, 4, 4, 5), -1000, values);
  TRfLoggerArray loggers(1);
  loggers[0].LoggerId = QStringLiteral("D123SN00009");
  const QByteArray bytes = DataFileWriter::radioBytes(set, loggers, samples::exampleWritten());
  EXPECT_TRUE(bytes.contains("\r\nT12   SN 40000 "));
  const DataFileContent c = parse(bytes);
  EXPECT_TRUE(c.signatureOk);
  EXPECT_EQ(c.damagedCount, 0);
  expectSameSets(c.radioSet, set);
}

TEST(DataFileParser, LineFeedOnlyFilesReadWithTheirSignature) {
  QByteArray bytes = exampleBytes();
  bytes.replace("\r\n", "\n");
  const DataFileContent c = parse(bytes);
  EXPECT_TRUE(c.signatureOk);
  EXPECT_EQ(c.radioSet.measurementCount(0, 0), 2);
}

struct Edit {
  const char* what;
  int line;
  QByteArray text;
  bool signatureOk;
  int damaged;
  int measurements;
};

TEST(DataFileParser, EditsAreCaughtBySignatureOrCounted) {
  const QByteArray golden = exampleBytes();
  const QByteArray m1 = lineAt(golden, 7), m2 = lineAt(golden, 8);
  const std::vector<Edit> edits = {
      {"one digit of a value", 7, QByteArray(m1).replace("2150", "2151"), false, 0, 2},
      {"logger line", 5, QByteArray("D122 SN 00018 ").append(char(0xA9)).append(' '), false, 0, 2},
      {"thermal-string line", 6, "T1   SN 00043               0    100", false, 0, 2},
      {"check value of the last line deleted", 8, m2.chopped(6), false, 0, 2},
      {"bad date", 7, QByteArray(m1).replace("05.03.24", "32.03.24"), false, 1, 1},
      {"bad time", 8, QByteArray(m2).replace("20:00", "20:61"), true, 1, 1},
      {"check value not a number", 8, QByteArray(m2).replace("(216)", "(2x6)"), false, 0, 2},
      {"unchanged", 7, m1, true, 0, 2},
  };
  for (const Edit& e : edits) {
    const DataFileContent c = parse(replaceLine(golden, e.line, e.text));
    SCOPED_TRACE(e.what);
    EXPECT_TRUE(c.endReached);
    EXPECT_EQ(c.signatureOk, e.signatureOk);
    EXPECT_EQ(c.damagedCount, e.damaged);
    EXPECT_EQ(c.radioSet.measurementCount(0, 0), e.measurements);
  }
  // The edited value is loaded as it stands.
  EXPECT_EQ(parse(replaceLine(golden, 7, edits[0].text)).radioSet.Temp[0][0][0][0], 2151);
  // Without its check value the line keeps all its values.
  const DataFileContent cut = parse(replaceLine(golden, 8, m2.chopped(6)));
  EXPECT_EQ(cut.radioSet.Temp[0][0][1][1], 2100);
}

TEST(DataFileParser, LoggerLineTags) {
  const QByteArray head = "//x\r\n\r\n";
  const auto loggerLine = [](const char* middle, const char* comment) {
    return QByteArray("D122 SN 00017 ") + middle + char(0xA9) + ' ' + Cp1251::encode(QString::fromUtf8(comment));
  };
  const QByteArray tail = "\r\nT1   SN 00042               0\r\n";
  DataFileContent c = parse(head + loggerLine("A 00012 F 1.2.3 Y 00001 ", "Обь, F A Y") + tail);
  ASSERT_EQ(c.radioLoggers.size(), 1u);
  EXPECT_EQ(c.radioLoggers[0].Firmware, QStringLiteral("1.2.3"));
  EXPECT_EQ(c.radioLoggers[0].Comment, QStringLiteral("Обь, F A Y"));
  EXPECT_EQ(c.damagedCount, 0);

  for (const char* bad : {"A 0x012 ", "Y abcde ", "A "}) {
    c = parse(head + loggerLine(bad, "") + tail);
    EXPECT_EQ(c.damagedCount, 1) << bad;
    EXPECT_TRUE(c.radioLoggers.empty()) << bad;
  }
  c = parse(head + "D12x SN 00017 " + char(0xA9) + " \r\n");
  EXPECT_EQ(c.damagedCount, 1);
}

TEST(DataFileParser, LinesAfterADamagedLoggerLineGoToThePreviousLogger) {
  const QByteArray golden = exampleBytes();
  QByteArray bytes =
      golden + "\r\nDxxx SN 00018 \xA9 \r\nT1   SN 00044               0\r\n" + lineAt(golden, 7) + "\r\n";
  DataFileContent c = parse(bytes);
  EXPECT_EQ(c.damagedCount, 1);
  ASSERT_EQ(c.radioLoggers.size(), 1u);
  EXPECT_EQ(c.radioSet.tkCount(0), 2);
  EXPECT_EQ(c.radioSet.measurementCount(0, 1), 1);
  EXPECT_FALSE(c.signatureOk);

  // With no logger before it, nothing is read and nothing more is counted.
  c = parse("Dxxx SN 00018 \xA9 \r\nT1   SN 00044               0\r\n" + lineAt(golden, 7) + "\r\n");
  EXPECT_EQ(c.damagedCount, 1);
  EXPECT_TRUE(c.radioLoggers.empty());
  EXPECT_TRUE(c.radioTaken);
}

TEST(DataFileParser, MeasurementsAfterADamagedStringLineAreIgnored) {
  const QByteArray golden = exampleBytes();
  const QByteArray bytes = golden + "\r\nT1   SN 00044               x\r\n" + lineAt(golden, 7) + "\r\n";
  const DataFileContent c = parse(bytes);
  EXPECT_EQ(c.damagedCount, 1);
  EXPECT_EQ(c.radioSet.tkCount(0), 1);
  EXPECT_EQ(c.radioSet.measurementCount(0, 0), 2);
  EXPECT_TRUE(c.signatureOk);
}

TEST(DataFileParser, ShortStringLinesGiveStringsWithoutSensors) {
  for (const QByteArray& tk :
       {QByteArray("T1   SN 00042"), QByteArray("T1   SN 00042        "), QByteArray("T1   SN 00042         ")}) {
    const QByteArray bytes = "\r\nD122 SN 00017 \xA9 \r\n" + tk + "\r\n05.03.24 12:00:00 360V (000)\r\n";
    const DataFileContent c = parse(bytes);
    SCOPED_TRACE(tk.size());
    ASSERT_EQ(c.radioSet.tkCount(0), 1);
    EXPECT_EQ(c.radioSet.sensorCount(0, 0), 0);
    EXPECT_EQ(c.radioSet.measurementCount(0, 0), 1);
    EXPECT_EQ(c.radioSet.BatteryVoltage[0][0][0], 360);
  }
}

TEST(DataFileParser, FieldWidthIsMeasuredPerStringLine) {
  const QByteArray bytes =
      "D122 SN 00017 \xA9 \r\n"
      "T1   SN 00042         "
      "    0  100  200\r\n"
      "05.03.24 12:00:00 360V   21   22   23 (000)\r\n"
      "05.03.24 13:00:00 360V   21 abcd\r\n";
  const DataFileContent c = parse(bytes);
  EXPECT_EQ(c.valueFieldWidth, 5);
  EXPECT_EQ(c.radioSet.Distance[0][0], (std::vector<int16_t>{0, 100, 200}));
  EXPECT_EQ(c.radioSet.Temp[0][0][2][0], 23);
  // A field that does not read and a missing field are both "no value", never damage.
  EXPECT_EQ(c.radioSet.Temp[0][0][1][1], NoTempValue);
  EXPECT_EQ(c.radioSet.Temp[0][0][2][1], NoTempValue);
  EXPECT_EQ(c.damagedCount, 0);
  EXPECT_FALSE(c.signatureOk);
}

TEST(DataFileParser, TooManySensorsIsDamageNotAnOverrun) {
  QByteArray tk = "T1   SN 00042         ";
  for (int i = 0; i < 256; ++i) tk += "    100";
  QByteArray bytes = "D122 SN 00017 \xA9 \r\n" + tk + "\r\n";
  DataFileContent c = parse(bytes);
  EXPECT_EQ(c.damagedCount, 1);
  EXPECT_EQ(c.radioSet.tkCount(0), 0);
  tk.chop(7);
  c = parse("D122 SN 00017 \xA9 \r\n" + tk + "\r\n");
  EXPECT_EQ(c.radioSet.sensorCount(0, 0), 255);
}

TEST(DataFileParser, UnreadableVoltageEndsTheReadingKeepingWhatCameBefore) {
  const QByteArray golden = exampleBytes();
  const DataFileContent c = parse(replaceLine(golden, 8, QByteArray(lineAt(golden, 8)).replace("358V", "3x8V")));
  EXPECT_FALSE(c.endReached);
  EXPECT_EQ(c.errorLine, 9);
  EXPECT_EQ(c.radioSet.measurementCount(0, 0), 1);
  EXPECT_TRUE(c.radioSet.isConsistent());
}

TEST(DataFileParser, FilesWithoutDataChangeNothing) {
  for (const QByteArray& bytes : {QByteArray(), QByteArray("//[tmd] Created by Tundrabase 05.03.24 21:30:15\r\n//\r\n"),
                                  QByteArray("short\r\n\r\n\n")}) {
    const DataFileContent c = parse(bytes);
    EXPECT_TRUE(c.endReached);
    EXPECT_FALSE(c.radioTaken);
    EXPECT_FALSE(c.usbFile);
    EXPECT_EQ(c.damagedCount, 0);
  }
}

TEST(DataFileParser, HostileInputStaysBounded) {
  // One huge line of each kind, binary junk, and a string line of exactly 22 characters.
  const QByteArray huge(4 << 20, 'x');
  for (const QByteArray& bytes :
       {QByteArray("D122 SN 00017 ") + QByteArray(2 << 20, 'F'), QByteArray("T") + huge, huge,
        QByteArray("D122 SN 00017 \xA9 \r\nT1   SN 00042         ") + QByteArray(1 << 20, '1'),
        QByteArray("D122 SN 00017 \xA9 \r\nT1   SN 00042        \r\n") + QByteArray(1 << 20, '0'),
        QByteArray("/ (USB) \r\n") + huge}) {
    const DataFileContent c = parse(bytes);
    EXPECT_TRUE(c.radioSet.isConsistent());
    EXPECT_TRUE(c.usbSet.isConsistent());
  }
  QByteArray junk(1 << 16, '\0');
  for (int i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 7919) % 251);
  EXPECT_TRUE(parse(junk).radioSet.isConsistent());
}

TEST(DataFileParser, UsbCommentSwitchesModeAndClearsTheUsbSet) {
  TMeasurementSet usbSet;
  samples::addLogger(usbSet, {2}, 3, 1);
  QByteArray bytes = DataFileWriter::usbBytes(usbSet, QStringLiteral("D121SN00007"), samples::exampleWritten());
  // A second USB comment empties the set again: what follows it needs its own logger line.
  bytes += "// (USB) again\r\n" + lineAt(bytes, 7) + "\r\n";
  const DataFileContent c = parse(bytes);
  EXPECT_TRUE(c.usbFile);
  EXPECT_EQ(c.usbSet.loggerCount(), 0);
  EXPECT_TRUE(c.endReached);

  // A radio part before a USB comment stays as read; the file counts as a USB file.
  QByteArray mixed = exampleBytes() + "// (USB) and more\r\n";
  const DataFileContent m = parse(mixed);
  EXPECT_TRUE(m.usbFile);
  EXPECT_TRUE(m.radioTaken);
  EXPECT_EQ(m.radioSet.measurementCount(0, 0), 2);
}

}  // namespace

namespace {

DataFileContent parseFixture(const char* name) {
  QFile f(fixturePath(QString("datafile/") + name));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
  return parse(f.readAll());
}

// Files made by hand, outside the program, with their check values computed separately.
TEST(DataFileParser, HandMadeFixtures) {
  const DataFileContent tags = parseFixture("tags.tmd");
  EXPECT_TRUE(tags.signatureOk);
  EXPECT_EQ(tags.damagedCount, 0);
  ASSERT_EQ(tags.radioLoggers.size(), 2u);
  EXPECT_EQ(tags.radioLoggers[0].Firmware, QStringLiteral("2.1.0"));
  EXPECT_EQ(tags.radioLoggers[0].Comment, QStringLiteral("Скважина 5"));
  EXPECT_EQ(tags.radioLoggers[1].LoggerId, QStringLiteral("D124SN00018"));
  EXPECT_EQ(tags.radioSet.BatteryVoltage[1][0], (std::vector<int16_t>{12345, 359}));
  EXPECT_EQ(tags.radioSet.Temp[1][0][0], (std::vector<int16_t>{-17, -1}));

  const DataFileContent usb = parseFixture("usb.tmd");
  EXPECT_TRUE(usb.usbFile && usb.signatureOk && usb.endReached);
  EXPECT_FALSE(usb.radioTaken);
  EXPECT_EQ(usb.usbSet.tkCount(0), 2);
  EXPECT_EQ(usb.usbHeader.measurementPeriod, 6);
  EXPECT_EQ(usb.usbHeader.sensorCount, 3);
  EXPECT_EQ(usb.usbHeader.tkType, 1);
  EXPECT_EQ(usb.usbHeader.tkSerial, 8);
  EXPECT_EQ(usb.usbSet.Temp[0][0][1], (std::vector<int16_t>{8750, NoTempValue}));

  const DataFileContent damaged = parseFixture("damaged.tmd");
  EXPECT_TRUE(damaged.endReached);
  EXPECT_FALSE(damaged.signatureOk);
  EXPECT_EQ(damaged.damagedCount, 2);  // the bad date and the bad string line
  EXPECT_EQ(damaged.radioSet.tkCount(0), 1);
  EXPECT_EQ(damaged.radioSet.measurementCount(0, 0), 2);
}

}  // namespace
