#pragma once

#include <QDialog>

class QLabel;

/// The about box: what the program is, its version and build, and the maker's links.
/// Any key closes it.
class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* makeLink(const QString& text, const QString& url, const QString& hint, const QString& name);
};
