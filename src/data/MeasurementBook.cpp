#include "data/MeasurementBook.h"

#include <QDateTime>

#include "app/DateTimeValue.h"
#include "app/UserPrompt.h"

bool MeasurementBook::FreeAllDynamicVariable(bool askUser, bool destroy, UserPrompt& prompt, MeasurementBookView& view) {
  view.addMemo1Line(DateTimeValue::traceStamp(QDateTime::currentDateTime()) +
                    QStringLiteral(": in FreeAllDynamicVariable; destroy=") +
                    (destroy ? QStringLiteral("-1") : QStringLiteral("0")));
  if (askUser && hasUnsavedRadioData() &&
      !prompt.question(QStringLiteral("Ранее принятые данные не сохранены, данное действие приведет к их потере.\r\nПродолжить?")))
    return false;
  RadioReceivedCount = 0;
  if (destroy) {
    view.freeDevList();
    RadioSet.clear();
    return true;
  }
  view.clearRfLoggerIndicators();
  for (int i = 0; i < RadioSet.loggerCount(); ++i) RadioSet.clearFirstString(i);
  return true;
}

bool MeasurementBook::ClearUsbData(bool askUser, bool all, UserPrompt& prompt, MeasurementBookView& view) {
  if (askUser && hasUnsavedUsbData() &&
      !prompt.question(
          QStringLiteral("Ранее принятые по USB данные не сохранены, данное действие приведет к их потере.\r\nПродолжить?")))
    return false;
  UsbReceivedCount = 0;
  if (all) {
    UsbSet.clear();
    return true;
  }
  view.clearUsbLoggerIndicators();
  UsbSet.reset(1);
  return true;
}

void MeasurementBook::PrepareUsbData(int16_t tkSerial, uint8_t tkType, const std::vector<int16_t>& distances) {
  if (UsbSet.loggerCount() == 0) UsbSet.reset(1);
  UsbSet.TkSn[0][0] = tkSerial;
  UsbSet.TkType[0][0] = tkType;
  UsbSet.Distance[0][0] = distances;
  UsbSet.Temp[0][0].assign(distances.size(), {});
  UsbSet.MeasTime[0][0].clear();
  UsbSet.BatteryVoltage[0][0].clear();
}

void MeasurementBook::addUsbRecord(double time, int16_t battery, const int16_t* values) {
  UsbSet.appendMeasurement(0, 0, time, battery, values);
  ++UsbReceivedCount;
  UsbDataSaved = false;
}
