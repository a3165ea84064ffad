#pragma once

#include <QLocale>
#include <QString>

#include "graph/GraphContent.h"

/// The two status-bar panels of the pointer read-out: first (120 px) and second (200 px).
struct GraphReadout {
  QString first;
  QString second;
};

/// Read-out at the plot position (x, y) in axis units. Time graph: second the date-time
/// (regional short date and long time), first the value with the unit suffix. Sensor
/// graph: second the temperature with the suffix, first "Датчик " and the rounded sensor
/// number when y is above 0. Another kind of graph reads nothing.
GraphReadout PointerReadout(GraphKind kind, double x, double y, const QString& suffix,
                            const QLocale& locale = QLocale());
