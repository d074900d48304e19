// The few file operations the shell needs, with failures as results rather than exceptions.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quarn::shell {

// Creates the folder with any missing parents; true when it exists as a folder afterwards.
bool CreateFolders(const std::string& path);

bool IsFolder(const std::string& path);

// An existing folder this process may create files in.
bool IsWritableFolder(const std::string& path);

enum class NewFileResult { Written, AlreadyExists, Failed };

// Creates a file that must not exist yet and writes the content. A file that cannot be written
// completely is removed again, so a failure leaves nothing half written behind.
NewFileResult WriteNewFile(const std::string& path, std::string_view content);

// Appends the content with a single write, creating the file when it does not exist.
bool AppendToFile(const std::string& path, std::string_view content);

// Empties the file, creating it when it does not exist.
bool EmptyFile(const std::string& path);

enum class ReadFileResult { Read, Missing, NotAFile, TooLarge, Failed };

struct FileContent {
  ReadFileResult Result = ReadFileResult::Failed;
  std::string Bytes;
  std::string Reason;  // the system's explanation when Result is Failed
};

// Reads a regular file of at most maxBytes. Devices, pipes and folders are refused without
// reading from them, so the call never hangs or runs out of memory.
FileContent ReadSmallFile(const std::string& path, std::size_t maxBytes);

}  // namespace quarn::shell
