#include "app/StringFuncGui.h"

#include <QGroupBox>

void EnableGroupBoxes(const QList<QGroupBox*>& boxes, bool enable) {
  for (QGroupBox* box : boxes) {
    for (QWidget* child : box->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) child->setEnabled(enable);
    box->setEnabled(enable);
  }
}
