#include <QByteArray>
#include <QStringList>

#include <gtest/gtest.h>

#include "radio/RadioPacketAssembler.h"

namespace {

QByteArray packet(uint8_t counter, const QByteArray& payload, uint8_t signal = 0x30, uint8_t status = 0x80) {
  QByteArray p;
  p.append(static_cast<char>(payload.size() + 3));
  p.append(static_cast<char>(counter));
  p.append(payload);
  p.append(static_cast<char>(signal));
  p.append(static_cast<char>(status));
  return p;
}

int feedAll(RadioPacketAssembler& a, const QByteArray& bytes) {
  return a.feed(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<int>(bytes.size()));
}

const QByteArray kText = QByteArrayLiteral("D123SN00042START");

QByteArray payloadOf(int size) {
  QByteArray p;
  for (int i = 0; i < size; ++i) p.append(static_cast<char>(i * 7 + 1));
  return p;
}

}  // namespace

// Golden frames: what a whole answer of one or more packets leaves behind.
TEST(RadioPacketAssembler, GoldenFrames) {
  struct Case {
    const char* name;
    QByteArray stream;
    bool valid;
    int packets;
    QString text;
    QByteArray data;
  };
  const QByteArray longest = payloadOf(59);
  const Case cases[] = {
      {"text only", packet(7, kText), true, 1, QString::fromLatin1(kText), {}},
      {"text and data", packet(7, kText) + packet(8, "\x01\x02\x03"), true, 2, QString::fromLatin1(kText), "\x01\x02\x03"},
      {"longest packets", packet(1, kText) + packet(2, longest) + packet(3, longest), true, 3,
       QString::fromLatin1(kText), longest + longest},
      {"shortest packet", packet(1, "E") + packet(2, "x"), true, 2, QStringLiteral("E"), "x"},
      {"check bit clear", packet(1, kText) + packet(2, "ab", 0x30, 0x7F), false, 1, QString::fromLatin1(kText), "ab"},
      {"counter gap", packet(1, kText) + packet(3, "ab"), false, 1, QString::fromLatin1(kText), {}},
      {"length byte 3", QByteArray("\x03\x01\x41\x30\x80", 5), false, 0, {}, {}},
      {"length byte 63", packet(1, kText) + QByteArray(1, 63), false, 1, QString::fromLatin1(kText), {}},
      {"length byte 255", QByteArray(1, '\xFF'), false, 0, {}, {}},
      {"truncated", packet(1, kText) + packet(2, "abcdef").left(5), true, 1, QString::fromLatin1(kText), "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RadioPacketAssembler a;
    feedAll(a, c.stream);
    EXPECT_EQ(!a.streamInvalid(), c.valid);
    EXPECT_EQ(a.receivedPackets(), c.packets);
    EXPECT_EQ(a.responseText(), c.text);
    EXPECT_EQ(a.arrData(), c.data);
  }
}

TEST(RadioPacketAssembler, LengthBytesAtTheLimits) {
  for (int lengthByte = 0; lengthByte < 256; ++lengthByte) {
    RadioPacketAssembler a;
    const bool taken = a.feed(static_cast<uint8_t>(lengthByte));
    EXPECT_EQ(taken, lengthByte >= 4 && lengthByte <= 62) << lengthByte;
  }
  // 4 carries one payload byte, 62 carries 59.
  RadioPacketAssembler a;
  feedAll(a, packet(0, "T") + packet(1, payloadOf(59)));
  ASSERT_FALSE(a.streamInvalid());
  EXPECT_EQ(a.responseText().size(), 1);
  EXPECT_EQ(a.arrData().size(), 59);
  EXPECT_EQ(static_cast<uint8_t>(packet(0, "T").at(0)), 4);
  EXPECT_EQ(static_cast<uint8_t>(packet(1, payloadOf(59)).at(0)), 62);
}

TEST(RadioPacketAssembler, CountersRunOnAcrossAnswersAndWrap) {
  RadioPacketAssembler a;
  feedAll(a, packet(0xFE, kText) + packet(0xFF, "a") + packet(0x00, "b"));
  EXPECT_FALSE(a.streamInvalid());
  EXPECT_EQ(a.arrData(), "ab");
  EXPECT_EQ(a.signalByte(), 0x30);

  // The next answer to the same logger must go on counting; a reset does not restart it.
  a.reset();
  feedAll(a, packet(0x05, kText));
  EXPECT_TRUE(a.streamInvalid());

  a.reset();
  a.setReload();
  feedAll(a, packet(0x05, kText) + packet(0x06, "c"));
  EXPECT_FALSE(a.streamInvalid());
  EXPECT_EQ(a.arrData(), "c");
}

TEST(RadioPacketAssembler, FirstPacketAfterReloadMayCarryAnyCounter) {
  for (int counter : {0, 1, 0x7F, 0xFF}) {
    RadioPacketAssembler a;
    a.setReload();
    feedAll(a, packet(static_cast<uint8_t>(counter), kText) + packet(static_cast<uint8_t>(counter + 1), "z"));
    EXPECT_FALSE(a.streamInvalid()) << counter;
    EXPECT_EQ(a.receivedPackets(), 2);
  }
}

// A read can end anywhere: feeding an answer in two pieces, cut at every offset, must give
// the same result as feeding it whole, and a cut answer must hold exactly its whole packets.
TEST(RadioPacketAssembler, InputCutAtEveryOffset) {
  const QByteArray stream = packet(9, kText) + packet(10, payloadOf(59)) + packet(11, payloadOf(20));
  RadioPacketAssembler whole;
  feedAll(whole, stream);
  ASSERT_EQ(whole.receivedPackets(), 3);
  const int ends[] = {static_cast<int>(packet(9, kText).size()), static_cast<int>(packet(9, kText).size() + 63),
                      static_cast<int>(stream.size())};
  for (int cut = 0; cut <= stream.size(); ++cut) {
    RadioPacketAssembler split;
    feedAll(split, stream.left(cut));
    const int complete = static_cast<int>(std::count_if(std::begin(ends), std::end(ends), [&](int e) { return e <= cut; }));
    EXPECT_EQ(split.receivedPackets(), complete) << cut;
    EXPECT_EQ(split.insidePacket(), cut != 0 && complete < 3 && cut != ends[0] && cut != ends[1]) << cut;
    feedAll(split, stream.mid(cut));
    EXPECT_FALSE(split.streamInvalid()) << cut;
    EXPECT_EQ(split.responseText(), whole.responseText()) << cut;
    EXPECT_EQ(split.arrData(), whole.arrData()) << cut;
  }
}

TEST(RadioPacketAssembler, DamageStopsTheFeedAndResetClearsIt) {
  RadioPacketAssembler a;
  const QByteArray stream = packet(1, kText) + packet(5, "abc") + packet(6, "def");
  EXPECT_EQ(feedAll(a, stream), static_cast<int>(packet(1, kText).size()) + 2);
  EXPECT_FALSE(a.feed(0x04));
  a.reset();
  EXPECT_FALSE(a.streamInvalid());
  EXPECT_EQ(a.receivedPackets(), 0);
  EXPECT_TRUE(a.responseText().isEmpty());
  EXPECT_TRUE(a.arrData().isEmpty());
}

TEST(RadioPacketAssembler, LogLines) {
  QStringList lines;
  RadioPacketAssembler a([&](const QString& line) { lines.append(line); });
  a.setReload();
  feedAll(a, packet(3, "OK") + packet(4, QByteArray("A\x01", 2)));
  const QStringList expected = {
      QStringLiteral("начало нового пакета радиомодема: DevPktLen not(< 5 & > 63)=6"),
      QStringLiteral("FillPktPtr = 1; ReloadPktInfo=-1, DevPktCnt=3"),
      QStringLiteral("ReceivedPktCnt=1"),
      QStringLiteral("начало нового пакета радиомодема: DevPktLen not(< 5 & > 63)=6"),
      QStringLiteral("FillPktPtr = 1; ReloadPktInfo=0, DevPktCnt=4"),
      QStringLiteral("Length(ArrData)=1; ArrData[0]=41; (A)"),
      QStringLiteral("Length(ArrData)=2; ArrData[1]=01; ()"),
      QStringLiteral("ReceivedPktCnt=2"),
  };
  EXPECT_EQ(lines, expected);
}

TEST(RadioPacketAssembler, SignalInDbm) {
  EXPECT_DOUBLE_EQ(SignalDbm(0x00), -74.0);
  EXPECT_DOUBLE_EQ(SignalDbm(0x30), -50.0);
  EXPECT_DOUBLE_EQ(SignalDbm(0xFF), -74.5);
  EXPECT_DOUBLE_EQ(SignalDbm(0x80), -138.0);
}
