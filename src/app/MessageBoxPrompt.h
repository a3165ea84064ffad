#pragma once

#include "app/UserPrompt.h"

class QWidget;

/// UserPrompt shown as modal message boxes over a parent window.
class MessageBoxPrompt : public UserPrompt {
 public:
  explicit MessageBoxPrompt(QWidget* parent = nullptr) : parent_(parent) {}
  bool show(Kind kind, const QString& caption, const QString& text) override;
  void setParent(QWidget* parent) { parent_ = parent; }

 private:
  QWidget* parent_;
};
