// quarn-workbench [program file]: the main window, then the transfer-log window, then the event
// loop. A program file named on the command line is opened in the IL editor.
#include <QApplication>
#include <QStringList>

#include "shell/application_folder.h"
#include "shell/settings_file.h"
#include "ui/il_editor_page.h"
#include "ui/log_window.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quarn-workbench"));
  quarn::ui::TFormMain mainWindow(quarn::shell::DefaultSettingsPath());
  quarn::ui::TFormLogs logWindow(mainWindow.CommonDatas(), quarn::shell::ApplicationFolder(
                                                               quarn::shell::ExecutablePath(),
                                                               quarn::shell::ProcessEnvironment()));
  mainWindow.AttachLogWindow(&logWindow);
  mainWindow.show();
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) mainWindow.IlEditor()->LoadProgramFile(arguments.at(1));
  return QApplication::exec();
}
