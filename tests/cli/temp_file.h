// A file in the temporary folder, removed when the test ends.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace quarn::cli::test_support {

class TempFile {
 public:
  TempFile(const std::string& name, const std::string& bytes)
      : path_(std::filesystem::temp_directory_path() /
              ("quarn-cli-" + std::to_string(::getpid()) + "-" + name)) {
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  ~TempFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  std::string Path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace quarn::cli::test_support
