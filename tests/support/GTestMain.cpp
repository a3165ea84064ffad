#include <QApplication>
#include <QLocale>

#include <gmock/gmock.h>

// One QApplication for every suite: logic under test uses QTimer and queued events, and
// widget suites need the GUI side. Tests run offscreen and in the users' locale, never the
// machine's.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                   : qgetenv("QT_QPA_PLATFORM"));
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  QApplication app(argc, argv);
  ::testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
