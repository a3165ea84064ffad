// tundrabase-cli usb info [--simulate]: connects to the first USB logger, runs the read chain
// and prints the logger image.
#include <QEventLoop>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <memory>

#include "app/Clock.h"
#include "app/StringFunc.h"
#include "app/UserPrompt.h"
#include "cli/CliCommand.h"
#include "data/MeasurementSet.h"
#include "radio/RfLogger.h"
#include "sim/UsbLoggerSimulator.h"
#include "usb/HidDataModule.h"
#include "usb/HidapiBackend.h"
#include "usb/SimulatedHidBackend.h"
#include "usb/UsbConnectionController.h"
#include "usb/UsbHost.h"
#include "usb/UsbPayloads.h"
#include "usb/UsbViewInterface.h"

namespace {

constexpr int kDeadlineMs = 15000;

/// No window: progress and trace lines go nowhere, the unplug notice is remembered.
class CliView : public UsbViewInterface {
 public:
  void addMemo1Line(const QString&) override {}
  void addMemo2Line(const QString&) override {}
  void setStatusPanel2(const QString& text) override {
    if (!text.isEmpty()) status = text;
  }
  void setWindowCaption(const QString&) override {}
  void setProgressRange(Bar, int, int) override {}
  void setProgressPosition(Bar, int) override {}
  void stepProgress(Bar) override {}
  int progressPosition(Bar) const override { return 0; }
  void setProgressVisible(Bar, bool) override {}
  void setExecutionTitle(Bar, const QString&) override {}
  void setProgressStatus(Bar, const QString&) override {}
  void setActionEnabled(UsbAction, bool) override {}
  Page activePage() const override { return Page::Usb; }
  void showPage(Page) override {}
  QString status;
};

class CliHost : public UsbHost {
 public:
  bool ClearUsbData(bool, bool) override { return true; }
  void UpdateControls() override {}
};

/// Boxes become lines on stderr; questions are answered No so nothing is discarded unasked.
class CliPrompt : public UserPrompt {
 public:
  bool show(Kind kind, const QString&, const QString& text) override {
    last = text;
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    return kind != Kind::Question && kind != Kind::WarningQuestion ? true : false;
  }
  QString last;
};

void line(const QString& label, const QString& value) {
  std::printf("%s: %s\n", label.toUtf8().constData(), value.toUtf8().constData());
}

QString yesNo(uint8_t v) { return v ? QStringLiteral("есть") : QStringLiteral("нет"); }

void printImage(const TLoggerHidDevice& d) {
  const QString model = ModelNameRu(d.loggerId);
  line(QStringLiteral("Логгер"), model.isEmpty() ? d.loggerId : d.loggerId + QStringLiteral(" (") + model + QLatin1Char(')'));
  line(QStringLiteral("Термокоса"), QStringLiteral("тип %1, № %2").arg(d.tkType).arg(d.tkSerial));
  QStringList sensors;
  for (uint16_t distance : d.distances) sensors << QString::number(SensorLabelNumber(static_cast<int16_t>(distance)));
  line(QStringLiteral("Датчиков"), QString::number(d.sensorCount) + (sensors.isEmpty() ? QString() : QStringLiteral(" (") + sensors.join(QLatin1Char(' ')) + QLatin1Char(')')));
  line(QStringLiteral("Период опроса, ч"), QString::number(d.measPeriodHours));
  line(QStringLiteral("Всего замеров"), QString::number(d.totalRecCount));
  line(QStringLiteral("Дата, время логгера"), UsbPayloads::clockText(d.loggerClock));
  line(QStringLiteral("Напряжение батареи"), QString::number(d.supplyVoltage / 100.0, 'f', 2) + QStringLiteral(" В"));
  line(QStringLiteral("Версия микропрограммы"), d.firmwareVersion);
  line(QStringLiteral("Объём внутренней памяти"), GroupThousands(d.memoryCapacity) + QStringLiteral(" Б"));
  line(QStringLiteral("Свободно внутренней памяти"), GroupThousands(d.freeMemory) + QStringLiteral(" Б"));
  line(QStringLiteral("Идентификатор памяти"), d.memoryChipId.trimmed());
  line(QStringLiteral("Модуль GSM"), yesNo(d.gsmModule));
  line(QStringLiteral("Радиомодуль"), d.rfModule ? yesNo(d.rfModule) + QStringLiteral(", канал %1").arg(d.rfChannel) : yesNo(0));
  line(QStringLiteral("Код ошибки"), QString::number(d.configErrorCode) + QStringLiteral(" ") + d.configErrorText);
  line(QStringLiteral("Следующий запуск чтения МЦДТ"), UsbPayloads::clockText(d.nextTkReadWakeup));
  if (d.gsmModule) {
    line(QStringLiteral("Период отправки по GSM, ч"), QString::number(d.gsmSendPeriodHours));
    line(QStringLiteral("Следующий запуск отправки по GSM"), UsbPayloads::clockText(d.nextGsmSendWakeup));
    line(QStringLiteral("Уровень сигнала GSM (сырой)"), QString::number(d.gsmSignalLevel));
  }
  line(QStringLiteral("GSM APN"), d.apn);
  line(QStringLiteral("GSM пользователь"), d.apnUser);
  line(QStringLiteral("GSM пароль"), d.apnPwd);
  line(QStringLiteral("MQTT сервер"), d.mqttHost);
  line(QStringLiteral("MQTT порт"), d.mqttPort);
  line(QStringLiteral("MQTT идентификатор"), d.mqttClientId);
  line(QStringLiteral("MQTT пользователь"), d.mqttUser);
  line(QStringLiteral("MQTT пароль"), d.mqttPwd);
  line(QStringLiteral("MQTT топик данных"), d.mqttDataTopic);
  line(QStringLiteral("MQTT топик конфигурации"), d.mqttConfigTopic);
}

int fail(const QString& text) {
  std::fprintf(stderr, "%s\n", text.toUtf8().constData());
  return 1;
}

int runUsb(const QStringList& args) {
  if (args.isEmpty() || args.first() != QLatin1String("info")) {
    std::fprintf(stderr, "usage: tundrabase-cli usb info [--simulate]\n");
    return 2;
  }
  bool simulate = false;
  for (const QString& a : args.mid(1)) {
    if (a == QLatin1String("--simulate")) {
      simulate = true;
    } else {
      std::fprintf(stderr, "usage: tundrabase-cli usb info [--simulate]\n");
      return 2;
    }
  }

  std::unique_ptr<HidBackend> backend;
  if (simulate) {
    auto sim = std::make_unique<SimulatedHidBackend>();
    UsbLoggerSimulator::attachDemo(*sim);
    backend = std::move(sim);
  } else {
    backend = std::make_unique<HidapiBackend>();
  }
  CliView view;
  CliHost host;
  CliPrompt prompt;
  auto module = std::make_unique<THidDataModule1>(*backend, Clock::system());
  module->setView(&view);
  UsbConnectionController controller(*module, view, host, prompt, Clock::system());

  controller.ActionUsbConnectExecute();
  if (controller.UsbState() != PSUsbInit)
    return prompt.last.isEmpty() ? fail(QStringLiteral("Соединение с прибором не установлено!")) : 1;

  QEventLoop loop;
  QObject::connect(module.get(), &THidDataModule1::usbCommandDone, &loop, [&] {
    if (controller.UsbState() != PSUsbInit) loop.quit();
  });
  QObject::connect(module.get(), &THidDataModule1::currentDeviceUnplugged, &loop, [&] { loop.quit(); });
  QTimer::singleShot(kDeadlineMs, &loop, &QEventLoop::quit);
  loop.exec();

  if (controller.UsbState() != PSUsbReady) {
    if (!view.status.isEmpty()) return fail(view.status);
    return fail(UsbConnectionController::kTimeoutBox);
  }
  printImage(*module->currentDevice());
  module.reset();  // hands the device back before the backend goes
  return 0;
}

const CliCommand kUsb("usb", "usb info [--simulate]", runUsb);

}  // namespace
