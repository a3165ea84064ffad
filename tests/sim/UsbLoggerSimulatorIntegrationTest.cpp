#include <gtest/gtest.h>

#include <QCoreApplication>

#include <functional>
#include <utility>

#include "../usb/UsbTestDoubles.h"
#include "TestSupport.h"
#include "app/Clock.h"
#include "sim/UsbLoggerSimulator.h"
#include "usb/HidDataModule.h"
#include "usb/UsbAnswerDecoder.h"
#include "usb/UsbCommands.h"
#include "usb/UsbConnectionController.h"

namespace {

using Bar = UsbViewInterface::Bar;

/// Records boxes like RecordingPrompt; a hook set by the test runs once while the next box is
/// "open", where the GUI's box would run a nested event loop.
class HookedPrompt : public RecordingPrompt {
 public:
  bool show(Kind kind, const QString& caption, const QString& text) override {
    const bool answer = RecordingPrompt::show(kind, caption, text);
    if (auto hook = std::exchange(whileOpen, nullptr)) hook();
    return answer;
  }
  std::function<void()> whileOpen;
};

/// Program side and simulated logger on one simulated bus; both time-outs and the progress
/// timer fire only when the test says so.
struct Link {
  SimulatedHidBackend backend;
  ManualClock clock{QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))};
  UsbLoggerSimulator sim{backend, clock};
  RecordingUsbView view;
  RecordingUsbHost host;
  HookedPrompt prompt;
  ManualUsbTimer* timeout = new ManualUsbTimer(true);
  ManualUsbTimer* progress = new ManualUsbTimer(false);
  std::unique_ptr<THidDataModule1> module;
  std::unique_ptr<UsbConnectionController> ctl;

  explicit Link(bool plugged = true) {
    sim.image() = UsbLoggerSimulator::demoImage(clock.now());
    if (plugged) sim.plug();
    module = std::make_unique<THidDataModule1>(backend, clock, std::unique_ptr<UsbTimer>(timeout));
    module->setView(&view);
    ctl = std::make_unique<UsbConnectionController>(*module, view, host, prompt, clock,
                                                    std::unique_ptr<UsbTimer>(progress));
  }
  ~Link() {
    ctl.reset();
    module.reset();
  }
  void pump() {
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  }
  uint8_t state() const { return ctl->UsbState(); }
  TLoggerHidDevice& dev() { return *module->currentDevice(); }
  std::vector<uint8_t> commandsSince(size_t from) const {
    const auto& log = sim.commandLog();
    return std::vector<uint8_t>(log.begin() + static_cast<long>(std::min(from, log.size())), log.end());
  }
  void connect() {
    ctl->ActionUsbConnectExecute();
    pump();
  }
};

const std::vector<uint8_t> kReadChain{CMD_GET_HEADER, CMD_GET_CONFIG, CMD_GET_TIME_ADJUSTMENT, CMD_GET_SW_VERSION,
                                      CMD_GET_DATA_STRUCT};

TEST(UsbLoggerSimulatorIntegrationTest, ReadChainEndToEnd) {
  Link link;
  link.connect();
  ASSERT_EQ(link.state(), PSUsbReady);
  EXPECT_EQ(link.sim.commandLog(), kReadChain);
  EXPECT_TRUE(link.prompt.boxes().empty()) << link.prompt.texts().join("|").toStdString();
  ASSERT_EQ(link.host.clears.size(), 1u);
  EXPECT_EQ(link.host.clears[0], std::make_pair(true, true));
  const TLoggerHidDevice& d = link.dev();
  EXPECT_EQ(d.loggerId, "D124SN00042");
  EXPECT_EQ(d.sensorCount, 16);
  EXPECT_EQ(d.totalRecCount, 300);
  EXPECT_EQ(d.measPeriodHours, 8);
  EXPECT_EQ(d.firmwareVersion, "2.1.7");
  EXPECT_EQ(d.gsmSendPeriodHours, 24);
  EXPECT_EQ(d.mqttHost, "mqtt.tundra.local");
  EXPECT_EQ(d.recordSize, 42);
  EXPECT_EQ(d.loggerClock, (UsbClockValue{14, 5, 56, 5, 3, 24})) << "the demo logger is 73 s behind";
  EXPECT_TRUE(link.view.memo2.contains("Connected to 1155:22352 SN: 205A38743030"));
  EXPECT_TRUE(link.view.memo2.contains("UsbState: PSUsbNotConnected -> PSUsbInit"));
  EXPECT_TRUE(link.view.memo2.contains("RunCommand(CMD_GET_DATA_STRUCT)"));
  EXPECT_TRUE(link.view.memo1.contains("Статус: выполнена"));
  EXPECT_EQ(link.view.page, UsbViewInterface::Page::Usb);
  EXPECT_FALSE(link.timeout->isActive());
}

TEST(UsbLoggerSimulatorIntegrationTest, ArrivalConnectsAndNoLoggerDoesNothing) {
  Link link(false);
  link.connect();
  EXPECT_EQ(link.state(), PSUsbNotConnected);
  EXPECT_TRUE(link.prompt.boxes().empty());

  link.host.clearAnswer = false;  // "No" to the unsaved-data question
  link.sim.plug();
  link.pump();
  EXPECT_EQ(link.state(), PSUsbNotConnected);
  EXPECT_TRUE(link.sim.commandLog().empty());

  link.host.clearAnswer = true;
  link.sim.unplug();
  link.pump();
  link.sim.plug();  // arrival while no device is current connects
  link.pump();
  EXPECT_EQ(link.state(), PSUsbReady);
}

TEST(UsbLoggerSimulatorIntegrationTest, ReadCommandTimeoutsResendWhileConnecting) {
  Link link;
  link.sim.injectFault(UsbSimFault::NoAnswer, 3, CMD_GET_CONFIG);
  link.connect();
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(link.state(), PSUsbInit);
    EXPECT_EQ(link.timeout->interval(), 600);
    ASSERT_TRUE(link.timeout->fire());
    link.pump();
  }
  EXPECT_EQ(link.state(), PSUsbReady);
  EXPECT_EQ(link.view.memo2.filter("Resending last command CmdCode=0xCE").size(), 3);
  EXPECT_EQ(std::count(link.sim.commandLog().begin(), link.sim.commandLog().end(), CMD_GET_CONFIG), 4);
  EXPECT_TRUE(link.prompt.boxes().empty());
}

TEST(UsbLoggerSimulatorIntegrationTest, TaskCompletionReReadsTheLogger) {
  struct Case {
    void (UsbConnectionController::*action)();
    uint8_t code;
    uint8_t busy;
    int maximum;
    QString title, result;
    bool both;
  };
  for (const Case& c : {Case{&UsbConnectionController::ActionUsbStartMeasExecute, CMD_START_TK_POLL, PSUsbStartMeas,
                             20, "Выполнение замера", "Замер выполнен", false},
                        Case{&UsbConnectionController::ActionUsbClearLoggerDataExecute, CMD_CLEAR_MEM, PSUsbClearMem,
                             60, "Удаление данных", "Данные удалены", false},
                        Case{&UsbConnectionController::ActionUsbStartGsmSendingExecute, CMD_START_GSM_SEND,
                             PSUsbGsmSend, 120, "Отправка по GSM", "Задача выполнена", false},
                        Case{&UsbConnectionController::ActionUsbPcTimeSyncExecute, CMD_SET_TIME, PSUsbPcTimeSync, 2,
                             "Синхр. времени с ПК", "Время установлено", true},
                        Case{&UsbConnectionController::ActionUsbGsmTimeSyncExecute, CMD_SYNC_TIME, PSUsbGsmTimeSync,
                             260, "Синхр. времени по GSM", "Задача выполнена", true}}) {
    Link link;
    link.connect();
    ASSERT_EQ(link.state(), PSUsbReady);
    link.sim.setTaskDurationMs(60000);  // the test ends the task itself
    const size_t before = link.sim.commandLog().size();
    (link.ctl.get()->*c.action)();
    ASSERT_EQ(link.state(), c.busy) << c.title.toStdString();
    const auto& bar = link.view.bars[Bar::Usb];
    EXPECT_TRUE(bar.visible);
    EXPECT_EQ(bar.maximum, c.maximum);
    EXPECT_EQ(bar.title, c.title);
    EXPECT_EQ(link.view.bars[Bar::Settings].visible, c.both);
    EXPECT_TRUE(link.progress->isActive());
    link.progress->fire();
    EXPECT_EQ(link.view.progressPosition(Bar::Usb), 1);
    EXPECT_TRUE(link.ctl->actionEnabled(UsbAction::Disconnect));

    link.pump();
    link.sim.releaseHeld();
    link.pump();
    EXPECT_EQ(link.state(), PSUsbReady) << c.title.toStdString();
    std::vector<uint8_t> expected{c.code};
    expected.insert(expected.end(), kReadChain.begin(), kReadChain.end());
    EXPECT_EQ(link.commandsSince(before), expected) << "the logger is read again";
    EXPECT_EQ(link.view.bars[Bar::Usb].status, c.result);
    EXPECT_FALSE(link.view.bars[Bar::Usb].visible);
    EXPECT_FALSE(link.progress->isActive());
    if (c.both) {
      EXPECT_EQ(link.view.bars[Bar::Settings].status, c.result);
    }
    if (c.code == CMD_CLEAR_MEM) {
      EXPECT_EQ(link.dev().totalRecCount, 0);
      EXPECT_EQ(link.host.clears.back(), std::make_pair(false, false));
      EXPECT_EQ(link.prompt.texts(),
                QStringList{"Стереть все данные из памяти приборов? Это может занять несколько минут."});
    }
    if (c.code == CMD_START_TK_POLL) {
      EXPECT_EQ(link.dev().totalRecCount, 301);
    }
    if (c.code == CMD_SET_TIME) {
      EXPECT_EQ(link.dev().loggerClock, (UsbClockValue{14, 7, 9, 5, 3, 24}));
    }
  }
}

TEST(UsbLoggerSimulatorIntegrationTest, TaskTimeoutAbortsToReady) {
  Link link;
  link.connect();
  link.sim.injectFault(UsbSimFault::NoAnswer);
  link.ctl->ActionUsbStartMeasExecute();
  link.pump();
  ASSERT_EQ(link.state(), PSUsbStartMeas);
  ASSERT_TRUE(link.timeout->fire());
  link.pump();
  EXPECT_EQ(link.state(), PSUsbReady);
  EXPECT_EQ(link.prompt.texts(), QStringList{"Истёк таймаут ожидания!"});
  EXPECT_TRUE(link.view.memo1.contains("Истёк таймаут ожидания подтверждения приёма команды"));
  EXPECT_FALSE(link.view.bars[Bar::Usb].visible);
  EXPECT_FALSE(link.progress->isActive());
}

TEST(UsbLoggerSimulatorIntegrationTest, FaultModes) {
  struct Case {
    const char* name;
    UsbSimFault fault;
    uint8_t onlyCode;
    uint8_t endState;
    QStringList boxes;
    QString memo2;
  };
  const std::vector<Case> cases = {
      {"wrong size header", UsbSimFault::WrongSizeHeader, 0, PSUsbReady, {},
       "Resending last command CMD_GET_HEADER (wrong data size) CB"},
      {"wrong size configuration", UsbSimFault::WrongSizeConfig, 0, PSUsbReady, {},
       "Resending last command (wrong data size) CE"},
      {"bad S mark", UsbSimFault::BadSMark, 0, PSUsbReady, {UsbAnswerDecoder::kBadHeaderS}, "S symbol = X"},
      {"bad CRC", UsbSimFault::BadCrc, 0, PSUsbReady, {UsbAnswerDecoder::kBadHeaderCrc}, "Sensor count = 16"},
      // A wrong answer that is not a time-out is only traced; the chain stays until Disconnect.
      {"wrong echo", UsbSimFault::WrongEcho, CMD_GET_CONFIG, PSUsbInit, {}, "RunCommand(CMD_GET_CONFIG)"},
      {"unplug in the middle", UsbSimFault::UnplugMidway, CMD_GET_CONFIG, PSUsbNotConnected, {},
       "In function \"HidCtlDeviceUnplug\""},
  };
  for (const Case& c : cases) {
    Link link;
    link.sim.injectFault(c.fault, 1, c.onlyCode);
    link.connect();
    EXPECT_EQ(UsbStateName(link.state()), UsbStateName(c.endState)) << c.name;
    EXPECT_EQ(link.prompt.texts(), c.boxes) << c.name;
    EXPECT_TRUE(link.view.memo2.contains(c.memo2)) << c.name;
    if (c.fault == UsbSimFault::WrongEcho) {
      EXPECT_TRUE(link.view.memo1.contains("Статус: ошибка"));
      EXPECT_TRUE(link.ctl->actionEnabled(UsbAction::Disconnect)) << "the user can leave the stalled chain";
      link.ctl->ActionUsbDisconnectExecute();
      EXPECT_EQ(link.state(), PSUsbNotConnected);
      EXPECT_EQ(link.module->currentDevice(), nullptr);
    }
    if (c.fault == UsbSimFault::UnplugMidway) {
      EXPECT_EQ(link.view.statusPanel2, "USB-логгер был отключен");
      EXPECT_TRUE(link.ctl->actionEnabled(UsbAction::Connect));
    }
  }
}

TEST(UsbLoggerSimulatorIntegrationTest, TaskFaults) {
  {  // A late acknowledgement times out; the late echo afterwards is only traced.
    Link link;
    link.connect();
    link.sim.injectFault(UsbSimFault::LateAcknowledgement);
    link.ctl->ActionUsbStartMeasExecute();
    link.pump();
    ASSERT_TRUE(link.timeout->fire());
    link.pump();
    EXPECT_EQ(link.state(), PSUsbReady);
    link.sim.releaseHeld();
    link.pump();
    EXPECT_EQ(link.state(), PSUsbReady);
    EXPECT_EQ(link.prompt.texts(), QStringList{"Истёк таймаут ожидания!"}) << "one box, not two";
  }
  {  // A wrong status byte fails the task; it stays busy until Disconnect.
    Link link;
    link.connect();
    link.sim.injectFault(UsbSimFault::WrongStatus);
    link.ctl->ActionUsbStartMeasExecute();
    link.sim.releaseHeld();
    link.pump();
    EXPECT_EQ(link.state(), PSUsbStartMeas);
    EXPECT_EQ(link.dev().verdict, UsbVerdict::Failed);
    link.ctl->ActionUsbDisconnectExecute();
    EXPECT_EQ(link.state(), PSUsbNotConnected);
    EXPECT_FALSE(link.progress->isActive());
  }
  {  // A short record answer is refused by the size rule.
    Link link;
    link.connect();
    link.sim.injectFault(UsbSimFault::WrongSizeRecord);
    ASSERT_TRUE(link.module->RunCommand(CMD_GET_DATA_RECORD, UsbPayloads::recordNumber(1)));
    link.pump();
    EXPECT_EQ(link.dev().verdict, UsbVerdict::Done);
    EXPECT_FALSE(UsbAnswerDecoder::recordSizeAccepted(link.dev()));
    ASSERT_TRUE(link.module->RunCommand(CMD_GET_DATA_RECORD, UsbPayloads::recordNumber(1)));
    link.pump();
    EXPECT_TRUE(UsbAnswerDecoder::recordSizeAccepted(link.dev()));
  }
}

TEST(UsbLoggerSimulatorIntegrationTest, RebootNoticeAndSettingsCommandsChangeTheImage) {
  Link link;
  link.connect();
  link.sim.sendRebootNotice();  // unsolicited: fails the finished command, changes nothing
  link.pump();
  EXPECT_EQ(link.state(), PSUsbReady);
  EXPECT_TRUE(link.prompt.boxes().empty());

  UsbGsmTexts texts;
  texts.apn = QStringLiteral("new.apn");
  texts.mqttPort = QStringLiteral("8883");
  ASSERT_TRUE(link.module->RunCommand(CMD_SET_GSM_CONFIG, UsbPayloads::gsmConfig(texts)));
  link.pump();
  ASSERT_TRUE(link.module->RunCommand(CMD_SET_RF_CHANNEL, UsbPayloads::oneByte(30)));
  link.pump();
  EXPECT_EQ(link.dev().statusByte(), 23) << "the logger answers with the channel it set";
  ASSERT_TRUE(link.module->RunCommand(CMD_SET_TK_POLL_PERIOD, UsbPayloads::oneByte(12)));
  link.pump();
  link.ctl->UsbReadSettings();
  link.pump();
  EXPECT_EQ(link.state(), PSUsbReady);
  EXPECT_EQ(link.dev().apn, "new.apn");
  EXPECT_EQ(link.dev().mqttPort, "8883");
  EXPECT_EQ(link.dev().mqttHost, "");
  EXPECT_EQ(link.dev().rfChannel, 23);
  EXPECT_EQ(link.dev().measPeriodHours, 12);
}

// The decoder's error box runs a nested event loop in the GUI. A logger pulled out and put
// back while it is open reconnects inside that loop, which rebuilds the device list; the
// device the decoder goes on writing to after the box must still be alive then.
TEST(UsbLoggerSimulatorIntegrationTest, ReconnectWhileADecoderBoxIsOpen) {
  Link link;
  link.sim.injectFault(UsbSimFault::BadSMark, 1, CMD_GET_HEADER);
  int reconnects = 0;
  link.prompt.whileOpen = [&] {
    link.sim.unplug();
    link.pump();
    EXPECT_EQ(link.state(), PSUsbNotConnected) << "the unplug disconnects";
    link.sim.plug();
    link.pump();
    ++reconnects;
  };
  link.connect();
  ASSERT_EQ(reconnects, 1);
  EXPECT_EQ(link.prompt.texts(), QStringList{UsbAnswerDecoder::kBadHeaderS});
  EXPECT_EQ(link.state(), PSUsbReady) << "the reconnection read the logger";
  ASSERT_NE(link.module->currentDevice(), nullptr);
  EXPECT_EQ(link.dev().loggerId, "D124SN00042");
  EXPECT_EQ(link.dev().firmwareVersion, "2.1.7");
  EXPECT_EQ(link.module->devices().size(), 1u);
  EXPECT_EQ(link.backend.openCount(&link.sim), 1) << "the replaced device is released once the handler is done";
}

}  // namespace
