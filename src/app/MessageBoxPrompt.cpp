#include "app/MessageBoxPrompt.h"

#include <QMessageBox>

bool MessageBoxPrompt::show(Kind kind, const QString& caption, const QString& text) {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  switch (kind) {
    case Kind::Error: icon = QMessageBox::Critical; break;
    case Kind::Warning:
    case Kind::WarningQuestion: icon = QMessageBox::Warning; break;
    case Kind::Information: icon = QMessageBox::Information; break;
    case Kind::Question: icon = QMessageBox::Question; break;
    case Kind::Plain: break;
  }
  const bool ask = kind == Kind::Question || kind == Kind::WarningQuestion;
  QMessageBox box(icon, caption, text, ask ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, parent_);
  if (ask) box.setDefaultButton(QMessageBox::Yes);
  const int result = box.exec();
  return !ask || result == QMessageBox::Yes;
}
