#include "usb/UsbViewGui.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QWidget>

UsbViewGui::UsbViewGui(QWidget* root) : root_(root) {
  const auto find = [root](auto* type, const char* name) {
    using T = std::remove_pointer_t<decltype(type)>;
    return root->findChild<T*>(QString::fromLatin1(name));
  };
  memo1_ = find(static_cast<QPlainTextEdit*>(nullptr), "Memo1");
  memo2_ = find(static_cast<QPlainTextEdit*>(nullptr), "Memo2");
  usb_ = {find(static_cast<QProgressBar*>(nullptr), "ProgressBarUsbExec"),
          find(static_cast<QLabel*>(nullptr), "LabelUsbExecution"),
          find(static_cast<QLabel*>(nullptr), "JvLabelUsbProgressStatus")};
  settings_ = {find(static_cast<QProgressBar*>(nullptr), "ProgressBarSettingsExec"),
               find(static_cast<QLabel*>(nullptr), "LabelSettingsExecution"),
               find(static_cast<QLabel*>(nullptr), "JvLabelSettingsProgressStatus")};
  pages_ = find(static_cast<QTabWidget*>(nullptr), "PageControl1");
  pageWidgets_ = {find(static_cast<QWidget*>(nullptr), "TabSheetRadio"),
                  find(static_cast<QWidget*>(nullptr), "TabSheetUsb"),
                  find(static_cast<QWidget*>(nullptr), "TabSheetConfig")};
  for (int a = 0; a < kUsbActionCount; ++a)
    actions_[static_cast<size_t>(a)] = root->findChild<QAction*>(UsbActionObjectName(static_cast<UsbAction>(a)));
}

void UsbViewGui::addMemo1Line(const QString& line) {
  if (memo1_) memo1_->appendPlainText(line);
}
void UsbViewGui::addMemo2Line(const QString& line) {
  if (memo2_) memo2_->appendPlainText(line);
}
void UsbViewGui::setStatusPanel2(const QString& text) {
  if (panel2_) panel2_(text);
}
void UsbViewGui::setWindowCaption(const QString& text) {
  if (root_) root_->window()->setWindowTitle(text);
}
void UsbViewGui::setProgressRange(Bar bar, int minimum, int maximum) {
  if (trio(bar).bar) trio(bar).bar->setRange(minimum, maximum);
}
void UsbViewGui::setProgressPosition(Bar bar, int position) {
  if (trio(bar).bar) trio(bar).bar->setValue(position);
}
void UsbViewGui::stepProgress(Bar bar) {
  QProgressBar* b = trio(bar).bar;
  if (!b) return;
  // Past the maximum the bar starts again, so a long task keeps showing movement.
  b->setValue(b->value() + 1 > b->maximum() ? b->minimum() : b->value() + 1);
}
int UsbViewGui::progressPosition(Bar bar) const { return trio(bar).bar ? trio(bar).bar->value() : 0; }
void UsbViewGui::setProgressVisible(Bar bar, bool visible) {
  if (trio(bar).bar) trio(bar).bar->setVisible(visible);
}
void UsbViewGui::setExecutionTitle(Bar bar, const QString& text) {
  if (trio(bar).title) trio(bar).title->setText(text);
}
void UsbViewGui::setProgressStatus(Bar bar, const QString& text) {
  if (trio(bar).status) trio(bar).status->setText(text);
}
void UsbViewGui::setActionEnabled(UsbAction action, bool enabled) {
  if (QAction* a = actions_[static_cast<size_t>(action)]) a->setEnabled(enabled);
}
UsbViewInterface::Page UsbViewGui::activePage() const {
  if (pages_) {
    QWidget* current = pages_->currentWidget();
    for (int p = 0; p < 3; ++p)
      if (current && current == pageWidgets_[static_cast<size_t>(p)]) return static_cast<Page>(p);
  }
  return Page::Usb;
}
void UsbViewGui::showPage(Page page) {
  QWidget* w = pageWidgets_[static_cast<size_t>(page)];
  if (pages_ && w) pages_->setCurrentWidget(w);
}
