// Starts Vorlane: the settings file lies beside the program.
#include <QApplication>
#include <QDir>

#include "app/HQ.h"
#include "app/QtServices.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vorlane"));
  vorlane::QtServices services;
  const std::filesystem::path programDir = QDir(QCoreApplication::applicationDirPath()).filesystemAbsolutePath();
  vorlane::HQ hq(services, vorlane::SettingsFilePath(programDir));
  hq.Main();
  return QApplication::exec();
}
