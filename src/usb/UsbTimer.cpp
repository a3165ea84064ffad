#include "usb/UsbTimer.h"

QtUsbTimer::QtUsbTimer(bool singleShot) {
  timer_.setSingleShot(singleShot);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (onTimeout) onTimeout();
  });
}
