#include <gmock/gmock.h>

#include "XlsRecords.h"
#include "graph/XlsWriter.h"

namespace {

TEST(XlsWriter, RecordBytes) {
  XlsWriter w;
  w.writeText(1, 1, QStringLiteral("To, °C"));
  w.writeInteger(4, 256, 255);
  w.writeNumber(65535, 2, -273.0);
  w.setColumnWidth(2, 300, 17);
  w.end();
  const QByteArray expected = QByteArray::fromHex(
      "0908 0600 0002 1000 0000"                     // BOF
      "0002 0a00 0000 ffff 0000 0001 0000"           // DIMENSIONS
      "0400 0e00 0000 0000 400000 06 546f2c20b043"   // LABEL A1, degree sign as 0xB0
      "0200 0900 0300 ff00 400000 ff00"              // INTEGER D(4), column 256
      "0300 0f00 feff 0100 400000 00000000001071c0"  // NUMBER row 65535, -273.0
      "2400 0400 01 ff 0011"                         // COLWIDTH B..IV, 17 characters
      "0a00 0000");
  EXPECT_EQ(w.buffer().toHex(), expected.toHex());
}

TEST(XlsWriter, LongTextIsCutAnd255BytesStay) {
  XlsWriter w;
  w.writeText(1, 1, QString(300, QLatin1Char('x')));
  const auto records = xlsRecords(w.buffer());
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[2].data.size(), 8 + 255);
  EXPECT_EQ(records[2].text(), QString(255, QLatin1Char('x')));
}

TEST(XlsWriter, BeginStartsOverAndFileNameGetsXls) {
  XlsWriter w;
  w.writeInteger(1, 1, 1);
  w.begin();
  EXPECT_EQ(describeAll(w.buffer()), (QStringList{"BOF", "DIMENSIONS"}));
  const std::pair<const char*, const char*> names[] = {{"/a/book.xls", "/a/book.xls"},
                                                       {"/a/book.XlS", "/a/book.XlS"},
                                                       {"/a/book.txt", "/a/book.XLS"},
                                                       {"/a/book", "/a/book.XLS"},
                                                       {"/a.b/book", "/a.b/book.XLS"}};
  for (const auto& [in, out] : names) {
    w.setFileName(in);
    EXPECT_EQ(w.fileName(), out);
  }
}

}  // namespace
