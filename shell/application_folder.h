// The application's own folder: where the transfer logs and debug.log go when LOG_PATH is empty.
#pragma once

#include <string>
#include <string_view>

#include "shell/environment.h"

namespace quarn::shell {

inline constexpr std::string_view kUserDataFolderName = "quarn-workbench";

// The folder of the executable when this process may write there (a build tree, a portable
// copy); otherwise the per-user data folder, since an installed program's folder is read-only.
// The result is never empty. The folder is not created here: the log writers create it when
// they first write.
std::string ApplicationFolder(std::string_view executablePath, const EnvLookup& env);

// $XDG_DATA_HOME/quarn-workbench, or ~/.local/share/quarn-workbench; empty when there is no home.
std::string UserDataFolder(const EnvLookup& env);

// The running executable's path, empty when the system does not tell it.
std::string ExecutablePath();

}  // namespace quarn::shell
