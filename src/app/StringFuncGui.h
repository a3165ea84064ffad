#pragma once

#include <QList>

class QGroupBox;

/// For each box in order: the enabled state of every control directly inside it (not of
/// controls nested deeper), then of the box itself.
void EnableGroupBoxes(const QList<QGroupBox*>& boxes, bool enable);
