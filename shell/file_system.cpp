#include "shell/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace quarn::shell {
namespace {

constexpr mode_t kFileMode = 0644;

// Writes everything, resuming after interrupted or partial writes.
bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool CloseChecked(int fd) { return ::close(fd) == 0; }

std::string ErrorText(int error) { return std::generic_category().message(error); }

}  // namespace

bool CreateFolders(const std::string& path) {
  if (path.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(path, error);
  return IsFolder(path);
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsWritableFolder(const std::string& path) {
  return IsFolder(path) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

NewFileResult WriteNewFile(const std::string& path, std::string_view content) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kFileMode);
  if (fd < 0) return errno == EEXIST ? NewFileResult::AlreadyExists : NewFileResult::Failed;
  const bool written = WriteAll(fd, content);
  if (CloseChecked(fd) && written) return NewFileResult::Written;
  ::unlink(path.c_str());
  return NewFileResult::Failed;
}

bool AppendToFile(const std::string& path, std::string_view content) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, kFileMode);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, content);
  return CloseChecked(fd) && written;
}

bool EmptyFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kFileMode);
  return fd >= 0 && CloseChecked(fd);
}

FileContent ReadSmallFile(const std::string& path, std::size_t maxBytes) {
  FileContent file;
  // O_NONBLOCK keeps the open of a pipe without a writer from hanging; it is refused below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    file.Result = error == ENOENT ? ReadFileResult::Missing : ReadFileResult::Failed;
    file.Reason = ErrorText(error);
    return file;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    file.Reason = ErrorText(errno);
  } else if (!S_ISREG(info.st_mode)) {
    file.Result = ReadFileResult::NotAFile;
  } else if (static_cast<std::size_t>(info.st_size) > maxBytes) {
    file.Result = ReadFileResult::TooLarge;
  } else {
    file.Result = ReadFileResult::Read;
    char buffer[4096];
    for (;;) {
      const ssize_t got = ::read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        file.Result = ReadFileResult::Failed;
        file.Reason = ErrorText(errno);
        break;
      }
      if (got == 0) break;
      // The file may grow while it is read; the limit holds all the same.
      if (file.Bytes.size() + static_cast<std::size_t>(got) > maxBytes) {
        file.Result = ReadFileResult::TooLarge;
        break;
      }
      file.Bytes.append(buffer, static_cast<std::size_t>(got));
    }
  }
  ::close(fd);
  if (file.Result != ReadFileResult::Read) file.Bytes.clear();
  return file;
}

}  // namespace quarn::shell
