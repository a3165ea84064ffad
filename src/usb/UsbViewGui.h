#pragma once

#include <QPointer>

#include <array>
#include <functional>

#include "usb/UsbViewInterface.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QTabWidget;
class QWidget;

/// UsbViewInterface over the main window's widgets, found by their objectNames under root:
/// Memo1, Memo2, ProgressBarUsbExec, LabelUsbExecution, JvLabelUsbProgressStatus,
/// ProgressBarSettingsExec, LabelSettingsExecution, JvLabelSettingsProgressStatus,
/// PageControl1 (pages TabSheetRadio, TabSheetUsb, TabSheetConfig) and the QActions named
/// by UsbActionObjectName. Missing widgets are skipped. The status bar's second panel is
/// reached through setStatusPanel2Handler.
class UsbViewGui : public UsbViewInterface {
 public:
  explicit UsbViewGui(QWidget* root);

  void setStatusPanel2Handler(std::function<void(const QString&)> handler) { panel2_ = std::move(handler); }

  void addMemo1Line(const QString& line) override;
  void addMemo2Line(const QString& line) override;
  void setStatusPanel2(const QString& text) override;
  void setWindowCaption(const QString& text) override;
  void setProgressRange(Bar bar, int minimum, int maximum) override;
  void setProgressPosition(Bar bar, int position) override;
  void stepProgress(Bar bar) override;
  int progressPosition(Bar bar) const override;
  void setProgressVisible(Bar bar, bool visible) override;
  void setExecutionTitle(Bar bar, const QString& text) override;
  void setProgressStatus(Bar bar, const QString& text) override;
  void setActionEnabled(UsbAction action, bool enabled) override;
  Page activePage() const override;
  void showPage(Page page) override;

 private:
  struct Trio {
    QPointer<QProgressBar> bar;
    QPointer<QLabel> title;
    QPointer<QLabel> status;
  };
  const Trio& trio(Bar bar) const { return bar == Bar::Usb ? usb_ : settings_; }

  QPointer<QWidget> root_;
  QPointer<QPlainTextEdit> memo1_, memo2_;
  Trio usb_, settings_;
  QPointer<QTabWidget> pages_;
  std::array<QPointer<QWidget>, 3> pageWidgets_;
  std::array<QPointer<QAction>, kUsbActionCount> actions_;
  std::function<void(const QString&)> panel2_;
};
