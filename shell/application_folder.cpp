#include "shell/application_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <array>
#include <vector>

#include "shell/file_system.h"

namespace quarn::shell {
namespace {

std::string FolderOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return path.empty() ? std::string() : std::string(".");
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

std::string HomeFolder(const EnvLookup& env) {
  if (env) {
    if (auto home = env("HOME"); home && !home->empty()) return *home;
  }
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
      found != nullptr && found->pw_dir != nullptr) {
    return found->pw_dir;
  }
  return {};
}

}  // namespace

std::string UserDataFolder(const EnvLookup& env) {
  std::string base;
  // Relative values are to be ignored: they would depend on the current folder.
  if (env) {
    if (auto data = env("XDG_DATA_HOME"); data && data->starts_with('/')) base = *data;
  }
  if (base.empty()) {
    const std::string home = HomeFolder(env);
    if (home.empty()) return {};
    base = home + "/.local/share";
  }
  return base + "/" + std::string(kUserDataFolderName);
}

std::string ApplicationFolder(std::string_view executablePath, const EnvLookup& env) {
  const std::string ownFolder = FolderOf(executablePath);
  if (!ownFolder.empty() && IsWritableFolder(ownFolder)) return ownFolder;
  if (std::string data = UserDataFolder(env); !data.empty()) return data;
  // Nowhere better to go; writing will fail there and be reported as such.
  return ownFolder.empty() ? std::string(".") : ownFolder;
}

std::string ExecutablePath() {
  std::array<char, 4096> buffer{};
  const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) return {};
  return std::string(buffer.data(), static_cast<std::size_t>(length));
}

}  // namespace quarn::shell
