#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

#include "radio/RfLogger.h"

class UserPrompt;

/// The checks and texts of the logger list editor and its add dialog, apart from their
/// windows. Works on the main window's list in place; the editor window only shows Rows()
/// and forwards the button clicks.
class RfLoggerListEditor {
 public:
  RfLoggerListEditor(TRfLoggerArray& list, UserPrompt& prompt) : list_(list), prompt_(prompt) {}

  /// Items of the model choice of the add dialog, in order ("ТКЛ-2-RM", "ТКЛ-1/100 РМ").
  static QStringList ModelChoices();
  /// Identifier for a model choice (index into ModelChoices) and a serial 1..99999; empty
  /// when the choice or the serial is out of range.
  static QString IdentifierFor(int modelChoice, int serial);

  static QStringList Headings();  ///< "№", "Сер.№ логгера", "Исполнение"
  /// Column widths of the editor grid for a grid width w and the width of one grid line.
  static std::array<int, 3> ColumnWidths(int width, int gridLineWidth);

  /// One row per entry: its number from 1, LoggerId, ModelNameRu.
  std::vector<std::array<QString, 3>> Rows() const;

  /// "Добавить..." confirmed with OK: appends the entry (Status 0, Selected true) unless
  /// one with exactly that identifier exists, which is reported as an error. True when
  /// added.
  bool Add(int modelChoice, int serial);
  /// "Удалить" with data row index (0 = first entry) selected: asks, then removes. True when
  /// removed; an index naming no entry changes nothing.
  bool Remove(int index);

 private:
  TRfLoggerArray& list_;
  UserPrompt& prompt_;
};
