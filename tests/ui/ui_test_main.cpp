// Runs the desktop tests inside one QApplication on the offscreen platform, with the C locale.
// Settings that a test does not put in a file of its own go to Qt's test folders, never to the
// user's. Every widget takes DejaVu Sans, loaded from its file, so that what a test measures of
// a layout does not depend on which family fontconfig offers as the default on this machine.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLocale>
#include <QStandardPaths>
#include <cstdio>

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QStandardPaths::setTestModeEnabled(true);
  QLocale::setDefault(QLocale::c());
  QApplication application(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  const char* const fontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  if (QFontDatabase::addApplicationFont(QString::fromUtf8(fontFile)) < 0) {
    std::fprintf(stderr, "The desktop tests need %s (Debian's fonts-dejavu-core).\n", fontFile);
    return 1;
  }
  QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
