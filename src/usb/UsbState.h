#pragma once

#include <QString>

#include <cstdint>

/// Connection state of the USB link, one byte.
enum UsbStateValue : uint8_t {
  PSUsbNotConnected = 0,
  PSUsbInit = 1,
  PSUsbReady = 2,
  PSUsbResetToDefaults = 3,
  PSUsbClearMem = 4,
  PSUsbReadSettings = 5,
  PSUsbWriteSettings = 6,
  PSUsbDownloadData = 7,
  PSUsbPcTimeSync = 8,
  PSUsbGsmTimeSync = 9,
  PSUsbGsmSend = 10,
  PSUsbStartMeas = 11,
  PSUsbFileData = 12,
};

/// "PSUsbReady" and so on; the number for a value outside 0..12.
QString UsbStateName(uint8_t state);

/// States 3, 4, 6, 8, 9, 10 and 11: a logger task or a settings write runs.
bool UsbStateBusy(uint8_t state);
