#include "radio/RfLoggerListEditor.h"

#include "app/UserPrompt.h"

QStringList RfLoggerListEditor::ModelChoices() {
  return {QStringLiteral("ТКЛ-2-RM"), QStringLiteral("ТКЛ-1/100 РМ")};
}

QString RfLoggerListEditor::IdentifierFor(int modelChoice, int serial) {
  if (serial < 1 || serial > 99999) return {};
  switch (modelChoice) {
    case 0: return MakeLoggerId(123, serial);
    case 1: return MakeLoggerId(122, serial);
    default: return {};
  }
}

QStringList RfLoggerListEditor::Headings() {
  return {QStringLiteral("№"), QStringLiteral("Сер.№ логгера"), QStringLiteral("Исполнение")};
}

std::array<int, 3> RfLoggerListEditor::ColumnWidths(int width, int gridLineWidth) {
  const int c = width / 100;
  return {10 * c, 40 * c, width - 50 * c - 6 * gridLineWidth};
}

std::vector<std::array<QString, 3>> RfLoggerListEditor::Rows() const {
  std::vector<std::array<QString, 3>> rows;
  rows.reserve(list_.size());
  for (size_t i = 0; i < list_.size(); ++i)
    rows.push_back({QString::number(i + 1), list_[i].LoggerId, ModelNameRu(list_[i].LoggerId)});
  return rows;
}

bool RfLoggerListEditor::Add(int modelChoice, int serial) {
  const QString id = IdentifierFor(modelChoice, serial);
  if (id.isEmpty()) return false;
  for (const TRfLogger& logger : list_) {
    if (logger.LoggerId == id) {
      prompt_.error(QStringLiteral("Логгер ") + id + QStringLiteral(" уже присутствует в списке!"));
      return false;
    }
  }
  TRfLogger logger;
  logger.LoggerId = id;
  logger.Status = 0;
  logger.Selected = true;
  list_.push_back(std::move(logger));
  return true;
}

bool RfLoggerListEditor::Remove(int index) {
  if (index < 0 || index >= static_cast<int>(list_.size())) return false;
  if (!prompt_.question(QStringLiteral("Удалить логгер ") + list_[index].LoggerId + QStringLiteral(" из списка?")))
    return false;
  list_ = RemoveLoggerAt(list_, index);
  return true;
}
