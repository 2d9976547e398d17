// Starts Vorlane: vorlane [--help] [--version] [DESIGN.vorlane.json]
//
// The settings file lies beside the program when that place can be written,
// else in the user's configuration folder (%APPDATA% on Windows); recovery
// copies of unsaved designs are kept in the user's state folder. A design
// file given as the argument opens as the File menu's Open Design opens it.
// Exit status: 0, 2 for a wrong command line, 3 when memory ran out.
#include <QAction>  // DesignFiles.h hands out QAction pointers
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdlib>
#include <iostream>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "app/DesignFiles.h"
#include "app/HQ.h"
#include "app/QtServices.h"
#include "settings/SettingsFile.h"
#include "settings/StateFolder.h"
#include "util/Platform.h"

namespace {

constexpr std::string_view kUsage =
    "usage: vorlane [DESIGN.vorlane.json]\n"
    "       vorlane --help | --version\n";

struct CommandLine {
  enum class Action { Run, Help, Version, Wrong };
  Action action = Action::Run;
  std::string designFile;  // empty when none was given
  std::string error;       // what is wrong, for Action::Wrong
};

// Reads the arguments (UTF-8) after the program's name. --help and --version
// win over anything else; "--" ends the options.
CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      if (arg == "-h" || arg == "--help") return {CommandLine::Action::Help, {}, {}};
      if (arg == "--version") return {CommandLine::Action::Version, {}, {}};
      if (arg == "--") {
        optionsEnded = true;
      } else if (line.error.empty()) {
        line.error = "unknown option " + std::string(arg);
      }
    } else if (line.designFile.empty()) {
      line.designFile = arg;
    } else if (line.error.empty()) {
      line.error = "more than one design file";
    }
  }
  if (!line.error.empty()) line.action = CommandLine::Action::Wrong;
  return line;
}

// Answers --help, --version and a wrong command line; returns the exit status.
int Answer(const CommandLine& line) {
  switch (line.action) {
    case CommandLine::Action::Help:
      std::cout << kUsage << "Opens the design file, when given, as File > Open Design does.\n"
                << "See vorlane(1).\n";
      return 0;
    case CommandLine::Action::Version:
      std::cout << "vorlane " VORLANE_VERSION "\n";
      return 0;
    case CommandLine::Action::Wrong:
      std::cerr << "vorlane: " << line.error << '\n' << kUsage;
      return 2;
    case CommandLine::Action::Run:
      break;
  }
  return 0;
}

// The arguments Qt has left, as UTF-8 (on Windows read from the wide command line).
std::vector<std::string> QtArguments() {
  std::vector<std::string> args;
  for (const QString& arg : QCoreApplication::arguments()) args.push_back(arg.toStdString());
  return args;
}

// Where the settings are kept: see ChooseSettingsFile and ChooseWindowsSettingsFile.
std::filesystem::path SettingsFile(const std::filesystem::path& programDir) {
  const QFileInfo beside(vorlane::SettingsFilePath(programDir));
  const bool besideWritable = beside.exists() ? beside.isWritable() : QFileInfo(programDir).isWritable();
#ifdef _WIN32
  const bool installed = QFileInfo(QDir(programDir).filePath(QStringLiteral("Uninstall.exe"))).isFile();
  const QByteArray appData = qEnvironmentVariable("APPDATA").toUtf8();
  return vorlane::ChooseWindowsSettingsFile(programDir, besideWritable, installed,
                                            appData.isEmpty() ? nullptr : appData.constData());
#else
  return vorlane::ChooseSettingsFile(programDir, besideWritable, std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
#endif
}

}  // namespace

int main(int argc, char** argv) try {
  // --help and --version are answered before Qt starts, so that they work
  // without a display. Qt then takes its own options (-style, -platform, ...)
  // out of argv, and what is left must be ours. Where Qt has no display to
  // start on, a wrong command line is answered at once too.
  const bool noDisplay = std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
                         std::getenv("QT_QPA_PLATFORM") == nullptr;
  vorlane::PrepareStandardStreams();
  if (const CommandLine early = ParseCommandLine(vorlane::Utf8Arguments(argc, argv));
      early.action == CommandLine::Action::Help || early.action == CommandLine::Action::Version ||
      (early.action == CommandLine::Action::Wrong && noDisplay)) {
    return Answer(early);
  }
  QApplication app(argc, argv);
  const CommandLine line = ParseCommandLine(QtArguments());
  if (line.action != CommandLine::Action::Run) return Answer(line);

  QApplication::setApplicationName(QStringLiteral("Vorlane"));
  QApplication::setApplicationVersion(QStringLiteral(VORLANE_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.vorlane.Vorlane"));
  vorlane::QtServices services;
  const std::filesystem::path programDir = QDir(QCoreApplication::applicationDirPath()).filesystemAbsolutePath();
  vorlane::HQ hq(services, SettingsFile(programDir), programDir);
  // Recovery copies of unsaved designs go to the user's state folder.
  auto variable = [](const char* name) { return qEnvironmentVariable(name).toUtf8(); };
  const QByteArray xdgState = variable("XDG_STATE_HOME"), home = variable("HOME"), localAppData = variable("LOCALAPPDATA");
  hq.SetStateFolder(vorlane::ChooseStateFolder(vorlane::kHostPlatform, xdgState.constData(), home.constData(),
                                               localAppData.constData()));
  hq.Main();
  if (!line.designFile.empty()) hq.Designs().OpenFile(QString::fromStdString(line.designFile));
  return QApplication::exec();
}
// Memory that runs out (an input too large for this machine) ends the
// program with a message and status 3 instead of an abort.
catch (const std::bad_alloc&) {
  std::cerr << "vorlane: out of memory\n";
  return 3;
}
