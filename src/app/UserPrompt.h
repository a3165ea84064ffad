#pragma once

#include <QString>

/// How logic reaches the user: modal boxes with a caption, an icon kind and a text.
/// The GUI shows message boxes; tests record the boxes and answer questions from a script.
class UserPrompt {
 public:
  enum class Kind { Error, Warning, Information, Plain, Question, WarningQuestion };

  static inline const QString kCaption = QStringLiteral("Tundrabase");

  virtual ~UserPrompt() = default;

  /// Shows one box. For the two question kinds the box has Yes and No and the result is
  /// true for Yes; for the other kinds the result is always true.
  virtual bool show(Kind kind, const QString& caption, const QString& text) = 0;

  void error(const QString& text) { show(Kind::Error, kCaption, text); }
  void warning(const QString& text) { show(Kind::Warning, kCaption, text); }
  void information(const QString& text) { show(Kind::Information, kCaption, text); }
  void plain(const QString& text) { show(Kind::Plain, kCaption, text); }
  bool question(const QString& text) { return show(Kind::Question, kCaption, text); }
  bool warningQuestion(const QString& text) { return show(Kind::WarningQuestion, kCaption, text); }
};
