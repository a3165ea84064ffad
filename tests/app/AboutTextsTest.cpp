#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/AboutTexts.h"
#include "app/PrgSettingsDialog.h"

TEST(AboutTexts, DesignationCarriesTheMajorVersion) {
  const struct {
    const char* version;
    const char* designation;
    const char* build;
  } cases[] = {{"1.0.0.1", "Версия 643.48213975.00062-01", "Сборка 1.0.0.1"},
               {"12.3.0.7", "Версия 643.48213975.00062-12", "Сборка 12.3.0.7"},
               {"123.0.0.0", "Версия 643.48213975.00062-123", "Сборка 123.0.0.0"},
               {"", "Версия 643.48213975.00062-", "Сборка "}};
  for (const auto& c : cases) {
    const AboutTexts t = AboutTexts::fromVersion(QString::fromUtf8(c.version));
    EXPECT_EQ(t.version, QString::fromUtf8(c.designation));
    EXPECT_EQ(t.build, QString::fromUtf8(c.build));
  }
  EXPECT_EQ(AboutTexts::programVersion().count('.'), 3);
}

TEST(PrgSettingsDialog, OnlyApplyStoresTheTypedFolders) {
  PrgSettingsDialog dialog;
  QString data = "/data", list = "/lists/";
  auto typeAndPress = [&](const char* button) {
    QTimer::singleShot(0, &dialog, [&dialog, button] {
      dialog.dataDirEdit()->setText("/typed/data");
      dialog.devListDirEdit()->setText("/does/not/exist");
      for (auto* b : dialog.findChildren<QPushButton*>())
        if (b->text() == QString::fromUtf8(button)) b->click();
    });
  };
  typeAndPress("Отмена");
  EXPECT_FALSE(dialog.edit(data, list));
  EXPECT_EQ(data, "/data");
  EXPECT_EQ(list, "/lists/");
  typeAndPress("Применить");
  EXPECT_TRUE(dialog.edit(data, list));
  EXPECT_EQ(data, "/typed/data");
  EXPECT_EQ(list, "/does/not/exist");
}
