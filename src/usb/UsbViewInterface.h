#pragma once

#include <QString>

#include "usb/UsbActionTable.h"

/// What the USB link needs from the main window's widgets. The GUI implements it over the
/// USB and settings pages (UsbViewGui); tests record the calls. Main thread only.
class UsbViewInterface {
 public:
  /// The progress trio of the USB page (LabelUsbExecution, ProgressBarUsbExec,
  /// JvLabelUsbProgressStatus) and of the settings page (LabelSettingsExecution, …).
  enum class Bar { Usb, Settings };
  enum class Page { Radio, Usb, Settings };

  virtual ~UsbViewInterface() = default;

  /// Diagnostic lines of the radio page's (Memo1) and USB page's (Memo2) log boxes, as given.
  virtual void addMemo1Line(const QString& line) = 0;
  virtual void addMemo2Line(const QString& line) = 0;
  /// Second panel of the main window's status bar.
  virtual void setStatusPanel2(const QString& text) = 0;
  virtual void setWindowCaption(const QString& text) = 0;

  virtual void setProgressRange(Bar bar, int minimum, int maximum) = 0;
  virtual void setProgressPosition(Bar bar, int position) = 0;
  /// One step of 1; past the maximum the bar starts again at its minimum.
  virtual void stepProgress(Bar bar) = 0;
  virtual int progressPosition(Bar bar) const = 0;
  virtual void setProgressVisible(Bar bar, bool visible) = 0;
  /// Bold title label above the bar.
  virtual void setExecutionTitle(Bar bar, const QString& text) = 0;
  /// Bold result label below the bar.
  virtual void setProgressStatus(Bar bar, const QString& text) = 0;

  virtual void setActionEnabled(UsbAction action, bool enabled) = 0;

  virtual Page activePage() const = 0;
  virtual void showPage(Page page) = 0;
};
