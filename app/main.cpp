// quarn-workbench: the main window, then the transfer-log window, then the event loop.
#include <QApplication>

#include "shell/application_folder.h"
#include "shell/settings_file.h"
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
  return QApplication::exec();
}
