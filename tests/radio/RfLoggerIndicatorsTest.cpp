#include <gtest/gtest.h>

#include "radio/RfLogger.h"
#include "radio/RfLoggerIndicators.h"

namespace {
const QLocale kRussian(QLocale::Russian, QLocale::Russia);
}

TEST(RfLoggerIndicators, ModelNamesByCode) {
  struct Case {
    const char* id;
    const char* ru;
    const char* lat;
  };
  const Case cases[] = {
      {"D121SN00001", "ТКЛ-2-USB", "TKL-2-USB"},     {"D122SN00001", "ТКЛ-1/100 РМ", "TKL-1/100 RM"},
      {"D123SN00001", "ТКЛ-2-RM", "TKL-2-RM"},       {"d124sn00001", "ТКЛ-2-GSM", "TKL-2-GSM"},
      {"D125SN00001", "", ""},                       {"D12XSN00001", "", ""},
      {"D1", "", ""},                                {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ModelNameRu(QString::fromUtf8(c.id)), QString::fromUtf8(c.ru)) << c.id;
    EXPECT_EQ(ModelNameLat(QString::fromUtf8(c.id)), QString::fromUtf8(c.lat)) << c.id;
  }
}

TEST(RfLoggerIndicators, RemoveLoggerAtKeepsOrderAndRefusesMissingEntry) {
  TRfLoggerArray list(3);
  list[0].LoggerId = "A";
  list[1].LoggerId = "B";
  list[2].LoggerId = "C";
  const TRfLoggerArray out = RemoveLoggerAt(list, 1);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].LoggerId, "A");
  EXPECT_EQ(out[1].LoggerId, "C");
  EXPECT_TRUE(RemoveLoggerAtError(list, 2).isEmpty());
  EXPECT_EQ(RemoveLoggerAtError(list, 3), QString::fromUtf8("Указанный элемент не существует"));
  EXPECT_EQ(RemoveLoggerAt(list, 3).size(), 3u);
}

TEST(RfLoggerIndicators, BatteryPictureByModel) {
  struct Case {
    const char* id;
    double volts;
    int picture;
  };
  const Case cases[] = {
      // model 122: a 3.6 V cell
      {"D122SN00001", 0.99, 0}, {"D122SN00001", 1.0, 1},   {"D122SN00001", 2.94, 1},  {"D122SN00001", 2.95, 2},
      {"D122SN00001", 3.60, 17}, {"D122SN00001", 3.72, 19}, {"D122SN00001", 4.0, 19}, {"D122SN00001", 4.01, 0},
      // other models: a 6 V pack
      {"D123SN00001", 4.99, 0}, {"D123SN00001", 5.0, 1},   {"D123SN00001", 5.64, 2},  {"D123SN00001", 5.75, 5},
      {"D123SN00001", 5.76, 7}, {"D123SN00001", 5.86, 7},  {"D123SN00001", 5.87, 8},  {"D123SN00001", 6.07, 10},
      {"D123SN00001", 6.08, 11}, {"D123SN00001", 6.22, 11}, {"D123SN00001", 6.23, 12}, {"D123SN00001", 7.34, 19},
      {"D123SN00001", 7.50, 19}, {"D123SN00001", 7.51, 0},  {"", 6.0, 9},
  };
  for (const Case& c : cases)
    EXPECT_EQ(BatteryPictureIndex(QString::fromUtf8(c.id), c.volts), c.picture) << c.id << " " << c.volts;
}

TEST(RfLoggerIndicators, BatteryHint) {
  EXPECT_EQ(BatteryHint("D122SN00001", 3.6, kRussian), QString::fromUtf8("3,6 В"));
  EXPECT_EQ(BatteryHint("D123SN00001", 7.51, kRussian), QString::fromUtf8("неизвестно"));
  EXPECT_EQ(BatteryHint("D123SN00001", 7.5, QLocale::c()), QString::fromUtf8("7.5 В"));
}

TEST(RfLoggerIndicators, SignalLevelAndBar) {
  EXPECT_EQ(SignalLevelFromByte(0xB4), -112.0);
  EXPECT_EQ(SignalLevelFromByte(0x00), -74.0);
  EXPECT_EQ(SignalLevelFromByte(0x01), -73.5);
  EXPECT_EQ(SignalLevelFromByte(0x80), -138.0);
  EXPECT_EQ(SignalBarWidth(-74), 23);  // 36 x 0.6 + 1 = 22.6
  EXPECT_EQ(SignalBarWidth(-112), 0);
  EXPECT_EQ(SignalBarWidth(-138), -16);
  EXPECT_EQ(SignalBarWidth(-110), 1);
  EXPECT_EQ(SignalBarWidth(-107.5), 2);  // 2.5 rounds to the even neighbour
}

TEST(RfLoggerIndicators, ErrorAndStatusTexts) {
  EXPECT_EQ(LoggerErrorText(0), QString::fromUtf8("Нет ошибок"));
  EXPECT_EQ(LoggerErrorText(12), QString::fromUtf8("Сбой при чтении данных из памяти"));
  EXPECT_EQ(LoggerErrorText(13), QString::fromUtf8("Неизвестная ошибка"));
  EXPECT_EQ(LoggerErrorText(255), QString::fromUtf8("Неизвестная ошибка"));
  RfLoggerIndicators::Dot dot;
  QString hint;
  ASSERT_TRUE(StatusIndicator(4, &dot, &hint));
  EXPECT_EQ(dot, RfLoggerIndicators::Dot::Lime);
  EXPECT_EQ(hint, QString::fromUtf8("Задача выполнена"));
  ASSERT_TRUE(StatusIndicator(1, &dot, &hint));
  EXPECT_EQ(dot, RfLoggerIndicators::Dot::Red);
  EXPECT_FALSE(StatusIndicator(6, &dot, &hint));
}

TEST(RfLoggerIndicators, GridColumnWidthsFollowTheWidth) {
  const auto& base = RfLoggerGridBaseWidths();
  EXPECT_EQ(LoggerGridColumnWidths(500, base, RfLoggerGridWidthDivisor), base);
  EXPECT_EQ(LoggerGridColumnWidths(786, base, RfLoggerGridWidthDivisor), base);
  const auto at787 = LoggerGridColumnWidths(787, base, RfLoggerGridWidthDivisor);
  EXPECT_EQ(at787[0], 92);
  EXPECT_EQ(at787[6], 110);
  const auto at1572 = LoggerGridColumnWidths(1572, base, RfLoggerGridWidthDivisor);
  EXPECT_EQ(at1572[0], 184);
  EXPECT_EQ(at1572[6], 220);
  EXPECT_EQ(at1572.size(), 11u);
  const auto usb = LoggerGridColumnWidths(1470, UsbLoggerGridBaseWidths(), UsbLoggerGridWidthDivisor);
  EXPECT_EQ(usb.size(), 10u);
  EXPECT_EQ(usb[0], 184);
  EXPECT_EQ(usb[1], 160);
}
