#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>

#include "UsbTestDoubles.h"
#include "app/Clock.h"
#include "usb/HidDataModule.h"
#include "usb/UsbCommands.h"

namespace {

void pump() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

struct Rig {
  SimulatedHidBackend backend;
  ScriptedHidPeer peer{backend};
  ManualClock clock{QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))};
  ManualUsbTimer* timer = new ManualUsbTimer(true);
  THidDataModule1 module{backend, clock, std::unique_ptr<UsbTimer>(timer)};
  RecordingUsbView view;
  QSignalSpy done{&module, &THidDataModule1::usbCommandDone};

  Rig() {
    module.setView(&view);
    backend.plug(&peer);
    pump();
    EXPECT_TRUE(module.SearchDevices());
  }
  TLoggerHidDevice& dev() { return *module.currentDevice(); }
};

TEST(HidDataModuleTest, CompletionClasses) {
  enum Step { Data, Echo, Echo55, Echo88, EchoOther55, WrongId };
  struct Case {
    const char* name;
    uint8_t code;
    std::vector<Step> reports;
    UsbVerdict verdict;
    int posts;
    bool timerRunning;
  };
  const std::vector<Case> cases = {
      {"A: 8 Data packets then the echo", CMD_GET_CONFIG, {Data, Data, Data, Data, Data, Data, Data, Data, Echo},
       UsbVerdict::Done, 1, false},
      {"A: Data packets keep it acknowledged", CMD_GET_HEADER, {Data, Data}, UsbVerdict::Acknowledged, 0, true},
      {"A: a wrong report ID fails", CMD_GET_HEADER, {Data, WrongId}, UsbVerdict::Failed, 1, false},
      {"A: another code's echo fails", CMD_GET_HEADER, {EchoOther55}, UsbVerdict::Failed, 1, false},
      {"B: echo", CMD_SET_TIME, {Echo}, UsbVerdict::Done, 1, false},
      {"B: wrong echo fails even with 0x55", CMD_SET_TIME, {EchoOther55}, UsbVerdict::Failed, 1, false},
      {"C: first echo acknowledges whatever its status", CMD_START_TK_POLL, {Echo88}, UsbVerdict::Acknowledged, 0,
       true},
      {"C: a 0x55 first is only an acknowledgement", CMD_START_TK_POLL, {Echo55}, UsbVerdict::Acknowledged, 0, true},
      {"C: accepted then done", CMD_START_TK_POLL, {Echo88, Echo55}, UsbVerdict::Done, 1, false},
      {"C: a third echo fails", CMD_SYNC_TIME, {Echo88, Echo55, Echo55}, UsbVerdict::Failed, 2, false},
      {"C: second echo without 0x55 fails", CMD_START_GSM_SEND, {Echo88, Echo88}, UsbVerdict::Failed, 1, false},
      {"D: 0x88 then 0x55", CMD_CLEAR_MEM, {Echo88, Echo55}, UsbVerdict::Done, 1, false},
      {"D: wrong echo fails, timer keeps running", CMD_CLEAR_MEM, {EchoOther55}, UsbVerdict::Failed, 1, true},
  };
  for (const Case& c : cases) {
    Rig rig;
    ASSERT_TRUE(rig.module.RunCommand(c.code, QByteArray(FindUsbCommand(c.code)->payloadBytes, '\0'))) << c.name;
    const int startsAfterWrite = rig.timer->starts();
    EXPECT_EQ(rig.timer->interval(), FindUsbCommand(c.code)->timeout1Ms) << c.name;
    int dataPackets = 0;
    for (Step s : c.reports) {
      switch (s) {
        case Data: rig.peer.send(4, QByteArray(64, 'x')), ++dataPackets; break;
        case Echo: rig.peer.send(6, ScriptedHidPeer::raw({c.code, 0xF0, 1, 0, 0})); break;
        case Echo55: rig.peer.cmd(c.code, 0x55); break;
        case Echo88: rig.peer.cmd(c.code, 0x88); break;
        case EchoOther55: rig.peer.cmd(c.code ^ 1, 0x55); break;
        case WrongId: rig.peer.send(9, QByteArray(64, '\0')); break;
      }
      pump();
    }
    EXPECT_EQ(rig.dev().verdict, c.verdict) << c.name;
    EXPECT_EQ(rig.done.count(), c.posts) << c.name;
    EXPECT_EQ(rig.timer->isActive(), c.timerRunning) << c.name;
    if (c.code == CMD_GET_CONFIG) {
      EXPECT_EQ(rig.timer->starts() - startsAfterWrite, 8) << "every Data packet restarts timeout2";
      EXPECT_EQ(rig.timer->interval(), 600);
      EXPECT_EQ(rig.view.memo1.filter("Data packet received at 05/03/2024 14:07:09.000").size(), 8);
      EXPECT_TRUE(rig.view.memo1.contains("Cmd packet received at 05/03/2024 14:07:09.000"));
      EXPECT_EQ(rig.dev().dataLen, 8 * 64);
    }
    if (c.code == CMD_START_TK_POLL && c.timerRunning) {
      EXPECT_EQ(rig.timer->interval(), 40000) << c.name;
    }
    if (c.verdict == UsbVerdict::Failed) {
      EXPECT_TRUE(rig.dev().errorText.isEmpty()) << c.name;
    }
  }
}

TEST(HidDataModuleTest, TimeoutTexts) {
  struct Case {
    uint8_t code;
    bool acknowledgeFirst;
    QString text;
  };
  const QString ack = QStringLiteral("Истёк таймаут ожидания подтверждения приёма команды");
  const QString answer = QStringLiteral("Истёк таймаут ожидания ответа");
  for (const Case& c : {Case{CMD_GET_HEADER, false, ack}, Case{CMD_START_TK_POLL, false, ack},
                        Case{CMD_CLEAR_MEM, false, ack}, Case{CMD_SET_TIME, false, answer},
                        Case{CMD_SET_RF_CHANNEL, false, answer}, Case{CMD_START_TK_POLL, true, answer},
                        Case{CMD_GET_CONFIG, true, answer}}) {
    Rig rig;
    ASSERT_TRUE(rig.module.RunCommand(c.code, QByteArray(8, '\0')));
    if (c.acknowledgeFirst) {
      rig.clock.advanceMs(100);
      if (c.code == CMD_GET_CONFIG)
        rig.peer.send(4, QByteArray(64, '\0'));
      else
        rig.peer.cmd(c.code, 0x88);
      pump();
    }
    rig.clock.advanceMs(600);
    ASSERT_TRUE(rig.timer->fire());
    pump();
    EXPECT_EQ(rig.dev().errorText, c.text) << UsbCommandName(c.code).toStdString();
    EXPECT_EQ(rig.dev().verdict, UsbVerdict::Failed);
    EXPECT_EQ(rig.done.count(), 1);
    EXPECT_TRUE(rig.view.memo1.contains("TimerTimeout: 05/03/2024 14:07:09.700") ||
                rig.view.memo1.contains("TimerTimeout: 05/03/2024 14:07:09.600"));
    EXPECT_TRUE(rig.view.memo1.contains(QStringLiteral("Интервал после отправки: ") +
                                        QString::number(c.acknowledgeFirst ? 700 : 600)));
    if (c.acknowledgeFirst) {
      EXPECT_TRUE(rig.view.memo1.contains(QStringLiteral("Интервал после подтверждения: 600")));
    }
  }
}

TEST(HidDataModuleTest, GsmConfigGoesAsSevenDataReportsThenTheCommand) {
  Rig rig;
  QByteArray payload(428, '\0');
  for (int i = 0; i < 428; ++i) payload[i] = static_cast<char>(i % 251 + 1);
  ASSERT_TRUE(rig.module.RunCommand(CMD_SET_GSM_CONFIG, payload));
  ASSERT_EQ(rig.peer.written.size(), 8u);
  for (int r = 0; r < 7; ++r) {
    const QByteArray& rep = rig.peer.written[static_cast<size_t>(r)];
    ASSERT_EQ(rep.size(), 65);
    EXPECT_EQ(rep[0], 5);
    const int count = r < 6 ? 63 : 50;
    EXPECT_EQ(rep.mid(1, count), payload.mid(r * 63, count)) << r;
    EXPECT_EQ(rep.mid(1 + count), QByteArray(64 - count, '\0')) << r;
  }
  const QByteArray& cmd = rig.peer.written[7];
  EXPECT_EQ(cmd.left(2), ScriptedHidPeer::raw({7, 0xCA}));
  EXPECT_EQ(cmd.mid(2), QByteArray(63, '\0'));
  EXPECT_EQ(rig.dev().timeout1, 6000);
  EXPECT_EQ(rig.dev().timeout2, 6000);
  EXPECT_EQ(rig.timer->interval(), 6000);
  rig.peer.cmd(CMD_SET_GSM_CONFIG);
  pump();
  EXPECT_EQ(rig.dev().verdict, UsbVerdict::Done);
}

TEST(HidDataModuleTest, CommandReportLayout) {
  Rig rig;
  ASSERT_TRUE(rig.module.RunCommand(CMD_SET_TIME, ScriptedHidPeer::raw({0x0E, 7, 9, 5, 3, 0x18})));
  ASSERT_EQ(rig.peer.written.size(), 1u);
  EXPECT_EQ(rig.peer.written[0].toHex(' ').left(26), "07 bd 0e 07 09 05 03 18 00");
  EXPECT_EQ(rig.peer.written[0].size(), 65);
  EXPECT_EQ(rig.dev().sendTime, rig.clock.now());
  EXPECT_EQ(rig.dev().verdict, UsbVerdict::Sent);
  EXPECT_FALSE(rig.module.RunCommand(0x42)) << "codes outside the table are refused";
  EXPECT_EQ(rig.peer.written.size(), 1u);
}

TEST(HidDataModuleTest, ReportsOnlyFromTheCurrentLogger) {
  Rig rig;
  ScriptedHidPeer twin(rig.backend, QStringLiteral("SN2"));
  rig.backend.plug(&twin);
  pump();
  ASSERT_TRUE(rig.module.SearchDevices());
  ASSERT_EQ(rig.module.devices().size(), 2u);
  ASSERT_EQ(rig.dev().hidDevice->info().serialNumber, "SN1");
  ASSERT_TRUE(rig.module.RunCommand(CMD_SET_TIME, QByteArray(6, '\0')));
  twin.cmd(CMD_SET_TIME);
  pump();
  EXPECT_EQ(rig.done.count(), 0);
  EXPECT_EQ(rig.dev().cmdPacketLen, 0);
  rig.peer.cmd(CMD_SET_TIME);
  pump();
  EXPECT_EQ(rig.done.count(), 1);
  rig.backend.unplug(&twin);
}

TEST(HidDataModuleTest, LongAnswerIsCutAtTheBuffer) {
  Rig rig;
  ASSERT_TRUE(rig.module.RunCommand(CMD_GET_CONFIG));
  for (int i = 0; i < 40; ++i) rig.peer.send(4, QByteArray(64, static_cast<char>(i)));
  pump();
  EXPECT_EQ(rig.dev().dataLen, TLoggerHidDevice::kDataBufferSize);
  EXPECT_EQ(rig.dev().data[2048], 32);  // byte 0 of packet 32
  rig.peer.send(6, QByteArray(200, '\x01'));  // an over-long Cmd packet is cut too
  pump();
  EXPECT_EQ(rig.dev().cmdPacketLen, 64);
}

TEST(HidDataModuleTest, SearchWriteFailureAndUnplug) {
  SimulatedHidBackend backend;
  ManualClock clock;
  THidDataModule1 module(backend, clock, std::make_unique<ManualUsbTimer>());
  RecordingUsbView view;
  module.setView(&view);
  EXPECT_FALSE(module.SearchDevices());
  EXPECT_EQ(module.currentDevice(), nullptr);
  EXPECT_FALSE(module.RunCommand(CMD_GET_HEADER));

  ScriptedHidPeer peer(backend);
  backend.plug(&peer);
  QSignalSpy arrived(&module, &THidDataModule1::usbDeviceArrived);
  pump();
  EXPECT_EQ(arrived.count(), 1) << "arrival while no device is current";
  ASSERT_TRUE(module.SearchDevices());
  ASSERT_TRUE(module.SearchDevices());
  EXPECT_EQ(backend.openCount(&peer), 1) << "a new search releases the old entries";

  QSignalSpy unplugged(&module, &THidDataModule1::currentDeviceUnplugged);
  QSignalSpy done(&module, &THidDataModule1::usbCommandDone);
  backend.unplug(&peer);
  pump();
  EXPECT_EQ(unplugged.count(), 1);
  EXPECT_EQ(view.statusPanel2, "USB-логгер был отключен");
  EXPECT_TRUE(view.memo2.contains("In function \"HidCtlDeviceUnplug\""));
  EXPECT_TRUE(view.memo2.contains("--> VendorName = Vendor; ProductName = Logger; SerialNumber = SN1"));
  EXPECT_FALSE(module.RunCommand(CMD_GET_HEADER));
  EXPECT_EQ(module.currentDevice()->errorText, "Ошибка при отправке команды в устройство");
  EXPECT_TRUE(view.memo1.contains("RunCommand: Ошибка при отправке команды в устройство"));
  pump();
  EXPECT_EQ(done.count(), 0) << "a failed write posts nothing";
}

}  // namespace
