#pragma once

#include <QString>
#include <QStringList>

/// Serial devices offered in the port choice of the radio page: the existing
/// /dev/ttyUSB*, /dev/ttyACM* and /dev/ttyS* devices, in natural order (ttyS2 before
/// ttyS10). The roots are parameters so tests can stage a device tree.
///
/// A /dev entry counts only when the kernel lists it as a tty with a device behind it
/// (/sys/class/tty/NAME/device); for ttyS* the UART type must also be known (not 0),
/// since the kernel creates ttyS0..ttyS31 whether or not a UART sits behind them.
QStringList ListComPorts(const QString& devRoot = QStringLiteral("/dev"),
                         const QString& sysTtyRoot = QStringLiteral("/sys/class/tty"));

/// Adapter transfer-buffer preparation before a connection attempt. Here it does nothing:
/// the adapter's receive buffer size is a setting of the Windows driver kept in that
/// system's registry, while the Linux driver fixes its USB transfer sizes itself and
/// offers no such setting to programs, so there is nothing to prepare and nothing to fail.
void PrepareAdapterBuffers(int firstSize, int secondSize);
