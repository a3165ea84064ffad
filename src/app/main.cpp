#include <QApplication>
#include <QStringList>

#include <cstdio>

#include "app/MainWindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tundrabase"));
  StartupOptions options;
  const QStringList args = QApplication::arguments().mid(1);
  for (const QString& arg : args) {
    if (arg == QLatin1String("--simulate"))
      options.simulate = true;
    else
      options.arguments << arg;
  }
  MainWindow window(options);
  window.show();
  return QApplication::exec();
}
