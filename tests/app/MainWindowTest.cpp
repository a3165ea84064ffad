#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/FileChooser.h"
#include "app/IniFile.h"
#include "app/Logging.h"
#include "app/MainWindow.h"

namespace {
// Folders inside a temporary directory, so the window never touches the machine's own.
class TempFolders : public SystemFolders {
 public:
  explicit TempFolders(const QString& root) : root_(root) { QDir(root).mkpath("bin"); }
  QString commonAppData() const override { return root_ + "/common"; }
  QString userAppData() const override { return root_ + "/user"; }
  QString commonDocuments() const override { return {}; }
  QString userDocuments() const override { return root_ + "/docs"; }
  QString userConfig() const override { return root_ + "/config"; }
  QString programFilePath() const override { return root_ + "/bin/tundrabase"; }
  QString iniPath() const { return root_ + "/config/Gradus/tundrabase/tundrabase.ini"; }

 private:
  QString root_;
};

struct Fixture {
  QTemporaryDir dir;
  TempFolders folders{dir.path()};
  RecordingPrompt prompt;
  ScriptedFileChooser files;

  std::unique_ptr<MainWindow> make(QStringList args = {}) {
    StartupOptions options;
    options.arguments = args;
    return std::make_unique<MainWindow>(options, &prompt, &files, folders);
  }
  void writeIni(const QByteArray& text) {
    QDir().mkpath(QFileInfo(folders.iniPath()).path());
    QFile f(folders.iniPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
};
}  // namespace

TEST(MainWindow, BuildsMenusToolBarPagesAndStartingState) {
  Fixture fx;
  auto w = fx.make();
  EXPECT_EQ(w->windowTitle(), "Tundrabase");
  EXPECT_EQ(w->size(), QSize(1000, 640));
  QStringList menus;
  for (QAction* a : w->menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, QStringList({"Файл", "Радиоканал", "&USB", "Настройки логгера", "Справка"}));
  auto* bar = w->findChild<QToolBar*>("ActionToolBar1");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->actions().size(), 17);  // 14 commands and 3 separators

  QAction* open = w->action("ActionDataFileOpen");
  EXPECT_EQ(open->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
  EXPECT_EQ(w->action("ActionRfSetTkPollPeriod")->toolTip(), "Задать период опроса датчиков логгером");
  EXPECT_EQ(w->action("ActionUsbResetToDefaults")->text(), "Сброс к настройкам по умолч.");

  auto* pages = w->findChild<QTabWidget*>("PageControl1");
  EXPECT_EQ(pages->count(), 3);
  EXPECT_FALSE(pages->isTabVisible(MainWindow::ConfigPage));
  EXPECT_EQ(pages->tabText(MainWindow::UsbPage), "USB-интерфейс");

  // Nothing loaded, not connected: files can be opened, nothing can be shown or saved.
  EXPECT_TRUE(open->isEnabled());
  EXPECT_FALSE(w->action("ActionShowGraphic")->isEnabled());
  EXPECT_FALSE(w->action("ActionRfSaveDataToFile")->isEnabled());
  EXPECT_FALSE(w->action("ActionUsbDisconnect")->isEnabled());
  EXPECT_EQ(w->radioState(), 0);

  // The logging switch is off: the trace panes are hidden.
  EXPECT_TRUE(w->findChild<QPlainTextEdit*>("Memo1")->isHidden());

  auto* grid = w->findChild<QTableView*>("StringGridRfLoggers");
  EXPECT_EQ(grid->model()->columnCount(), 11);
  EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), "Серийный\nномер\nлоггера");
  EXPECT_EQ(w->findChild<QLabel*>("ShapeUsbErrorLamp")->toolTip(), "Нет ошибок");
}

TEST(MainWindow, AppliesStoredSettingsAndWritesThemAtClose) {
  Fixture fx;
  fx.writeIni("[Main]\r\nTop=5\r\nLeft=6\r\nWidth=900\r\nHeight=700\r\n[Settings]\r\nMinChannel=18\r\nMaxChannel=21\r\n"
              "Channel=23\r\n[Strategy]\r\nDataBlockSize=3\r\nAttempt3=1\r\nPower1=2\r\n[Graphic ]\r\nKeep=me\r\n");
  auto w = fx.make();
  auto* channel = w->findChild<QSpinBox*>("JvSpinEditRfChannel");
  EXPECT_EQ(channel->value(), 21);
  EXPECT_EQ(w->findChild<QSpinBox*>("JvSpinEditNewRfChannel")->maximum(), 21);
  EXPECT_EQ(w->findChild<QSlider*>("TrackBarDataBlockSize")->value(), 3);
  EXPECT_TRUE(w->findChild<QGroupBox*>("RadioGrPower3")->isEnabled());
  EXPECT_EQ(w->size(), QSize(900, 700));

  w->findChild<QCheckBox*>("CheckBoxAttempt2")->setChecked(false);
  EXPECT_FALSE(w->findChild<QGroupBox*>("RadioGrPower2")->isEnabled());
  EXPECT_TRUE(w->close());
  IniFile ini;
  ASSERT_TRUE(ini.load(fx.folders.iniPath()));
  EXPECT_EQ(ini.value("Settings", "Channel"), "21");
  EXPECT_EQ(ini.value("Settings", "MinChannel"), "18");
  EXPECT_EQ(ini.value("Strategy", "Attempt2"), "0");
  EXPECT_EQ(ini.value("Strategy", "Power1"), "2");
  EXPECT_EQ(ini.value("Graphic ", "Keep"), "me");
  EXPECT_FALSE(ini.hasKey("Settings", "Port"));  // the port box was empty
  EXPECT_EQ(w->radioState(), 9);
}

TEST(MainWindow, CloseWithUnsavedDataAsksOnceAndNoKeepsRunning) {
  Fixture fx;
  auto w = fx.make();
  w->book().RadioReceivedCount = 3;
  w->book().RadioDataSaved = false;
  w->book().UsbReceivedCount = 1;
  w->book().UsbDataSaved = false;
  fx.prompt.answerNext(false);
  EXPECT_FALSE(w->close());
  ASSERT_EQ(fx.prompt.boxes().size(), 1u);
  EXPECT_EQ(fx.prompt.boxes()[0].text,
            "Ранее принятые данные не сохранены, закрытие программы приведет к их потере.\r\nПродолжить?");
  EXPECT_EQ(w->radioState(), 0);
  EXPECT_FALSE(QFile::exists(fx.folders.iniPath()));
  fx.prompt.answerNext(true);
  EXPECT_TRUE(w->close());
  EXPECT_TRUE(QFile::exists(fx.folders.iniPath()));
}

TEST(MainWindow, FirstShowingOpensAFileOrConnectsUsbOnlyOnce) {
  Fixture fx;
  const QString file = fx.dir.filePath("Data.TMD");
  { QFile f(file); ASSERT_TRUE(f.open(QIODevice::WriteOnly)); }
  auto w = fx.make({file});
  QStringList requested;
  QObject::connect(w.get(), &MainWindow::dataFileRequested, [&](const QString& p) { requested << p; });
  int connects = 0;
  QObject::connect(w->action("ActionUsbConnect"), &QAction::triggered, [&] { ++connects; });
  w->show();
  EXPECT_EQ(requested, QStringList({file}));
  EXPECT_EQ(connects, 0);
  w->hide();

  auto plain = fx.make({"short"});
  QObject::connect(plain->action("ActionUsbConnect"), &QAction::triggered, [&] { ++connects; });
  plain->show();
  auto* pages = plain->findChild<QTabWidget*>("PageControl1");
  pages->setCurrentIndex(MainWindow::UsbPage);
  plain->hide();
  plain->show();
  // Showing again brings the radio page back but never connects again.
  EXPECT_EQ(pages->currentIndex(), MainWindow::RadioPage);
  EXPECT_EQ(connects, 1);
  EXPECT_TRUE(plain->usbAutoConnectDone());
  plain->hide();
}

TEST(MainWindow, LoggingMarkerShowsTheTracePanes) {
  Fixture fx;
  { QFile f(fx.dir.filePath("bin/logging.on")); ASSERT_TRUE(f.open(QIODevice::WriteOnly)); }
  auto w = fx.make();
  EXPECT_FALSE(w->findChild<QPlainTextEdit*>("Memo1")->isHidden());
  EXPECT_FALSE(w->findChild<QPlainTextEdit*>("Memo2")->isHidden());
  SetLoggingOn(false);
}
