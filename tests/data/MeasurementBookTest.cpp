#include <gtest/gtest.h>

#include "TestSupport.h"
#include "data/MeasurementBook.h"

namespace {
struct RecordingView : MeasurementBookView {
  QStringList lines;
  int freed = 0;
  int cleared = 0;
  int usbCleared = 0;
  void addMemo1Line(const QString& line) override { lines << line; }
  void freeDevList() override { ++freed; }
  void clearRfLoggerIndicators() override { ++cleared; }
  void clearUsbLoggerIndicators() override { ++usbCleared; }
};

MeasurementBook bookWithRadioData() {
  MeasurementBook book;
  book.RadioSet.reset(2);
  book.RadioSet.TkSn[1][0] = 77;
  book.RadioSet.TkType[1][0] = 4;
  book.RadioSet.Distance[1][0] = {100, 250};
  book.RadioSet.Temp[1][0] = {{}, {}};
  const int16_t values[] = {-150, NoTempValue};
  book.RadioSet.appendMeasurement(1, 0, 46000.5, 360, values);
  book.RadioReceivedCount = 1;
  book.RadioDataSaved = false;
  return book;
}
}  // namespace

TEST(MeasurementBook, NoKeepsEverythingYesClearsButKeepsStringIdentity) {
  RecordingPrompt prompt;
  RecordingView view;
  MeasurementBook book = bookWithRadioData();
  prompt.answerNext(false);
  EXPECT_FALSE(book.FreeAllDynamicVariable(true, false, prompt, view));
  EXPECT_EQ(book.RadioReceivedCount, 1);
  EXPECT_TRUE(book.RadioSet.hasData(1));
  ASSERT_EQ(prompt.boxes().size(), 1u);
  EXPECT_EQ(prompt.boxes()[0].text,
            "Ранее принятые данные не сохранены, данное действие приведет к их потере.\r\nПродолжить?");

  EXPECT_TRUE(book.FreeAllDynamicVariable(true, false, prompt, view));
  EXPECT_EQ(book.RadioReceivedCount, 0);
  EXPECT_FALSE(book.RadioDataSaved);  // a clear does not count as a save
  EXPECT_FALSE(book.RadioSet.hasData(1));
  EXPECT_EQ(book.RadioSet.TkSn[1][0], 77);
  EXPECT_EQ(book.RadioSet.TkType[1][0], 4);
  EXPECT_TRUE(book.RadioSet.isConsistent());
  EXPECT_EQ(view.cleared, 1);
  ASSERT_EQ(view.lines.size(), 2);
  EXPECT_TRUE(view.lines[0].endsWith(": in FreeAllDynamicVariable; destroy=0"));

  // Nothing received: never asks, even though the data were never saved.
  prompt.clear();
  EXPECT_TRUE(book.FreeAllDynamicVariable(true, true, prompt, view));
  EXPECT_TRUE(prompt.boxes().empty());
  EXPECT_EQ(book.RadioSet.loggerCount(), 0);
  EXPECT_EQ(view.freed, 1);
  EXPECT_TRUE(view.lines.last().endsWith("destroy=-1"));
}

TEST(MeasurementBook, UsbClearAndDownloadShape) {
  RecordingPrompt prompt;
  RecordingView view;
  MeasurementBook book;
  book.ClearUsbData(false, false, prompt, view);
  book.PrepareUsbData(321, 1, {50, 150, 250});
  const int16_t values[] = {10, 20, NoTempValue};
  book.addUsbRecord(46001.25, 355, values);
  EXPECT_TRUE(book.hasUnsavedUsbData());
  EXPECT_TRUE(book.UsbSet.isConsistent());
  EXPECT_EQ(book.UsbSet.measurementCount(0, 0), 1);
  EXPECT_EQ(book.UsbSet.Temp[0][0][2][0], NoTempValue);

  prompt.answerNext(false);
  EXPECT_FALSE(book.ClearUsbData(true, true, prompt, view));
  EXPECT_EQ(prompt.boxes().back().text,
            "Ранее принятые по USB данные не сохранены, данное действие приведет к их потере.\r\nПродолжить?");
  EXPECT_TRUE(book.ClearUsbData(true, false, prompt, view));
  EXPECT_EQ(book.UsbSet.loggerCount(), 1);
  EXPECT_FALSE(book.UsbSet.hasData(0));
  EXPECT_EQ(book.UsbReceivedCount, 0);
  EXPECT_EQ(view.usbCleared, 2);
}

TEST(MeasurementSet, SensorLabelsRoundHalfToEven) {
  const std::pair<int16_t, int> cases[] = {{100, 1}, {250, 2}, {350, 4}, {-50, 0}, {149, 1}, {-150, -2}};
  for (const auto& [distance, label] : cases) EXPECT_EQ(SensorLabelNumber(distance), label) << distance;
  EXPECT_EQ(QuantityKindHeading(1), "RH, %");
  EXPECT_TRUE(QuantityKindHeading(5).isEmpty());
}
