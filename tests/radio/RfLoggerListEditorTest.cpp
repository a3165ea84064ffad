#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/FileChooser.h"
#include "data/MeasurementSet.h"
#include "radio/RfLoggerListCommands.h"
#include "radio/RfLoggerListEditor.h"
#include "radio/RfLoggerListHost.h"
#include "radio/RfLoggerRows.h"

TEST(RfLoggerListEditor, AddBuildsIdentifierAndRefusesDuplicates) {
  TRfLoggerArray list;
  RecordingPrompt prompt;
  RfLoggerListEditor editor(list, prompt);
  EXPECT_EQ(RfLoggerListEditor::ModelChoices(), (QStringList{QString::fromUtf8("ТКЛ-2-RM"), QString::fromUtf8("ТКЛ-1/100 РМ")}));

  ASSERT_TRUE(editor.Add(1, 7));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].LoggerId, "D122SN00007");
  EXPECT_TRUE(list[0].Selected);
  EXPECT_EQ(list[0].Status, 0);
  ASSERT_TRUE(editor.Add(0, 99999));
  EXPECT_EQ(list[1].LoggerId, "D123SN99999");
  EXPECT_TRUE(prompt.boxes().empty());

  EXPECT_FALSE(editor.Add(1, 7));
  EXPECT_EQ(list.size(), 2u);
  ASSERT_EQ(prompt.boxes().size(), 1u);
  EXPECT_EQ(prompt.boxes()[0].kind, UserPrompt::Kind::Error);
  EXPECT_EQ(prompt.boxes()[0].caption, "Tundrabase");
  EXPECT_EQ(prompt.boxes()[0].text, QString::fromUtf8("Логгер D122SN00007 уже присутствует в списке!"));

  // Neither an unknown model nor a serial outside 1..99999 builds an identifier.
  EXPECT_FALSE(editor.Add(2, 5));
  EXPECT_FALSE(editor.Add(-1, 5));
  EXPECT_FALSE(editor.Add(0, 0));
  EXPECT_FALSE(editor.Add(0, 100000));
  EXPECT_EQ(list.size(), 2u);

  const auto rows = editor.Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1][0], "2");
  EXPECT_EQ(rows[1][1], "D123SN99999");
  EXPECT_EQ(rows[1][2], QString::fromUtf8("ТКЛ-2-RM"));
}

TEST(RfLoggerListEditor, RemoveAsksFirst) {
  TRfLoggerArray list(3);
  list[0].LoggerId = "D123SN00001";
  list[1].LoggerId = "D123SN00002";
  list[2].LoggerId = "D123SN00003";
  RecordingPrompt prompt;
  RfLoggerListEditor editor(list, prompt);
  prompt.answerNext(false);
  EXPECT_FALSE(editor.Remove(1));
  EXPECT_EQ(list.size(), 3u);
  prompt.answerNext(true);
  EXPECT_TRUE(editor.Remove(1));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].LoggerId, "D123SN00003");
  ASSERT_EQ(prompt.boxes().size(), 2u);
  EXPECT_EQ(prompt.boxes()[0].kind, UserPrompt::Kind::Question);
  EXPECT_EQ(prompt.boxes()[0].text, QString::fromUtf8("Удалить логгер D123SN00002 из списка?"));
  EXPECT_FALSE(editor.Remove(2));  // the blank row of an empty grid or a stale selection
  EXPECT_EQ(prompt.boxes().size(), 2u);
}

TEST(RfLoggerListEditor, ColumnWidths) {
  EXPECT_EQ(RfLoggerListEditor::ColumnWidths(420, 1), (std::array<int, 3>{40, 160, 214}));
  EXPECT_EQ(RfLoggerListEditor::ColumnWidths(99, 1), (std::array<int, 3>{0, 0, 93}));
}

namespace {
class FakeHost : public RfLoggerListHost {
 public:
  bool FreeAllDynamicVariable(bool askUser, bool destroy) override {
    calls << QStringLiteral("Free(%1,%2)").arg(askUser).arg(destroy);
    if (askUser && !answerFree) return false;
    if (rows && destroy) rows->FreeDevList();
    if (destroy) set.clear();
    return true;
  }
  int RadioState() const override { return state; }
  TMeasurementSet& RadioSet() override { return set; }
  void ActivateRadioPage() override { calls << "Radio"; }
  void UpdateControls() override { calls << "Update"; }
  void FillRfDataGrid(int loggerIndex) override { calls << QStringLiteral("Fill(%1)").arg(loggerIndex); }
  QString DeviceListDir() const override { return "/lists"; }
  void ShowListEditor() override {
    calls << "Editor";
    if (onEditor) onEditor();
  }

  QStringList calls;
  bool answerFree = true;
  int state = 1;
  TMeasurementSet set;
  RfLoggerRows* rows = nullptr;
  std::function<void()> onEditor;
};

struct Commands {
  TRfLoggerArray list;
  RfLoggerRows rows{list};
  FakeHost host;
  RecordingPrompt prompt;
  RfLoggerListCommands commands{rows, host, prompt};
  Commands() { host.rows = &rows; }
};
}  // namespace

TEST(RfLoggerListCommands, ShowLoggerListWarnsOnlyWhenAskedAndEmpty) {
  Commands c;
  c.commands.ShowLoggerList(true);
  EXPECT_EQ(c.prompt.texts(), QStringList{QString::fromUtf8("Список логгеров пуст!")});
  EXPECT_EQ(c.prompt.boxes()[0].kind, UserPrompt::Kind::Warning);
  EXPECT_EQ(c.host.calls, (QStringList{"Free(0,1)", "Fill(-1)"}));
  c.prompt.clear();
  c.commands.ShowLoggerList(false);
  EXPECT_TRUE(c.prompt.boxes().empty());

  c.list.resize(2);
  c.list[0].LoggerId = "D123SN00001";
  c.list[1].LoggerId = "D122SN00002";
  c.list[1].Status = 3;
  c.commands.ShowLoggerList(true);
  EXPECT_TRUE(c.prompt.boxes().empty());
  EXPECT_EQ(c.rows.rowCount(), 2);
  EXPECT_TRUE(c.rows.hasIndicators(1));
  EXPECT_EQ(c.list[1].Status, 0);
  EXPECT_EQ(c.host.set.loggerCount(), 2);
}

TEST(RfLoggerListCommands, ChangeLoggerListByRadioState) {
  {
    Commands c;
    c.list.resize(1);
    c.list[0].LoggerId = "D123SN00001";
    c.host.onEditor = [&] { c.list.push_back(c.list[0]); };
    c.commands.ChangeLoggerList();
    EXPECT_EQ(c.host.calls, (QStringList{"Free(1,0)", "Radio", "Update", "Editor", "Free(0,1)", "Radio", "Update"}));
    EXPECT_EQ(c.rows.rowCount(), 2);
  }
  {
    // Data from a file: the file's loggers go with the data before the editor opens.
    Commands c;
    c.host.state = RfLoggerListCommands::RadioStateFileData;
    c.list.resize(2);
    c.commands.ChangeLoggerList();
    EXPECT_EQ(c.host.calls.mid(0, 4), (QStringList{"Free(1,1)", "Free(0,1)", "Fill(-1)", "Radio"}));
    EXPECT_TRUE(c.list.empty());
    EXPECT_EQ(c.prompt.texts(), QStringList{QString::fromUtf8("Список логгеров пуст!")});
  }
  {
    Commands c;
    c.host.answerFree = false;
    c.commands.ChangeLoggerList();
    EXPECT_EQ(c.host.calls, QStringList{"Free(1,0)"});
  }
}

TEST(RfLoggerListCommands, OpenAndSaveListFiles) {
  QTemporaryDir dir;
  Commands c;
  ScriptedFileChooser chooser;

  chooser.answer(fixturePath("lst/four-loggers.lst"));
  c.commands.OpenListFile(chooser);
  EXPECT_EQ(chooser.lastRequest().folder, "/lists");
  EXPECT_EQ(chooser.lastRequest().defaultSuffix, "lst");
  EXPECT_EQ(chooser.lastRequest().filter, QString::fromUtf8("Файл списка логгеров (*.lst)"));
  ASSERT_EQ(c.list.size(), 4u);
  EXPECT_EQ(c.list[2].LoggerId, "d121sn00001");
  EXPECT_EQ(c.rows.rowCount(), 4);
  EXPECT_TRUE(c.prompt.boxes().empty());

  // A file that cannot be opened leaves the list as it was and warns.
  const QString missing = dir.filePath("missing.lst");
  chooser.answer(missing);
  c.commands.OpenListFile(chooser);
  EXPECT_EQ(c.list.size(), 4u);
  ASSERT_EQ(c.prompt.boxes().size(), 1u);
  EXPECT_EQ(c.prompt.boxes()[0].kind, UserPrompt::Kind::Warning);
  EXPECT_EQ(c.prompt.boxes()[0].text, QString::fromUtf8("\r\nНе удается открыть файл \"") + missing +
                                          QString::fromUtf8("\",      \r\nпоскольку он используется другим приложением."));

  // No to the unsaved-data question stops before the file is read.
  c.host.answerFree = false;
  chooser.answer(fixturePath("lst/mixed-lines.lst"));
  c.commands.OpenListFile(chooser);
  EXPECT_EQ(c.list.size(), 4u);
  c.host.answerFree = true;

  const QString saved = dir.filePath("saved.lst");
  chooser.answer(saved);
  c.commands.SaveListFile(chooser);
  QFile f(saved);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("D123SN00001\r\nD122SN00017\r\nd121sn00001\r\nD124SN99999\r\n"));

  c.prompt.clear();
  chooser.answer(dir.filePath("no/folder/x.lst"));
  c.commands.SaveListFile(chooser);
  ASSERT_EQ(c.prompt.boxes().size(), 1u);
  EXPECT_TRUE(c.prompt.boxes()[0].text.startsWith(QString::fromUtf8("\r\nНе удается сохранить файл \"")));

  // A cancelled dialog does nothing.
  c.prompt.clear();
  c.host.calls.clear();
  c.commands.OpenListFile(chooser);
  EXPECT_EQ(c.host.calls, (QStringList{"Radio", "Update"}));
  EXPECT_TRUE(c.prompt.boxes().empty());
}
