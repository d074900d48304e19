// quarn-workbench [--simulator] [program file]: the main window, then the transfer-log window,
// then the event loop. A program file named on the command line is opened in the IL editor;
// --simulator starts connected to the built-in controller simulator.
#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "shell/application_folder.h"
#include "shell/settings_file.h"
#include "ui/il_editor_page.h"
#include "ui/link_binding.h"
#include "ui/log_window.h"
#include "ui/main_window.h"

namespace {

constexpr char kUsage[] = "usage: quarn-workbench [--simulator] [program file]\n";

struct Options {
  bool Simulator = false;
  QString ProgramFile;
  bool Valid = true;
};

Options ParseArguments(const QStringList& arguments) {
  Options options;
  for (qsizetype k = 1; k < arguments.size(); ++k) {
    const QString& argument = arguments.at(k);
    if (argument == QStringLiteral("--simulator")) {
      options.Simulator = true;
    } else if (argument.startsWith(QStringLiteral("--")) || !options.ProgramFile.isEmpty()) {
      options.Valid = false;
    } else {
      options.ProgramFile = argument;
    }
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quarn-workbench"));
  const Options options = ParseArguments(QApplication::arguments());
  if (!options.Valid) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  quarn::ui::TFormMain mainWindow(quarn::shell::DefaultSettingsPath());
  quarn::ui::TFormLogs logWindow(mainWindow.CommonDatas(), quarn::shell::ApplicationFolder(
                                                               quarn::shell::ExecutablePath(),
                                                               quarn::shell::ProcessEnvironment()));
  mainWindow.AttachLogWindow(&logWindow);
  mainWindow.show();
  if (!options.ProgramFile.isEmpty()) mainWindow.IlEditor()->LoadProgramFile(options.ProgramFile);
  if (options.Simulator) mainWindow.Link()->ConnectSimulator();
  return QApplication::exec();
}
