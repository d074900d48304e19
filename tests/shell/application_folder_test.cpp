#include "shell/application_folder.h"

#include <gtest/gtest.h>

#include "tests/shell/fake_environment.h"
#include "tests/support/temp_folder.h"

namespace quarn::shell {
namespace {

using test_support::TempFolder;
using testing::FakeEnvironment;

TEST(ApplicationFolder, ExecutablesOwnFolderWhenWritable) {
  TempFolder folder;
  const EnvLookup env = FakeEnvironment({{"XDG_DATA_HOME", "/data"}});
  EXPECT_EQ(ApplicationFolder(folder / "quarn-workbench", env), folder.Path());
}

TEST(ApplicationFolder, PerUserDataFolderOtherwise) {
  struct Case {
    const char* what;
    std::string executable;
    std::map<std::string, std::string> env;
    std::string expected;
  } const cases[] = {
      {"XDG_DATA_HOME honoured",
       "/no/such/folder/quarn-workbench",
       {{"XDG_DATA_HOME", "/data"}, {"HOME", "/home/u"}},
       "/data/quarn-workbench"},
      {"home when XDG_DATA_HOME is unset",
       "/no/such/folder/quarn-workbench",
       {{"HOME", "/home/u"}},
       "/home/u/.local/share/quarn-workbench"},
      {"a relative XDG_DATA_HOME is ignored",
       "/no/such/folder/quarn-workbench",
       {{"XDG_DATA_HOME", "data"}, {"HOME", "/home/u"}},
       "/home/u/.local/share/quarn-workbench"},
      {"unknown executable", "", {{"HOME", "/home/u"}}, "/home/u/.local/share/quarn-workbench"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ApplicationFolder(c.executable, FakeEnvironment(c.env)), c.expected) << c.what;
  }
}

TEST(ApplicationFolder, NeverEmpty) {
  // Without HOME the account's home folder stands in; the result is a usable folder name.
  const std::string folder = ApplicationFolder("", FakeEnvironment({}));
  EXPECT_FALSE(folder.empty());
  EXPECT_NE(folder, "/");
}

TEST(ApplicationFolder, ExecutablePathOfThisTest) {
  const std::string path = ExecutablePath();
  EXPECT_TRUE(path.ends_with("/shell_tests")) << path;
}

}  // namespace
}  // namespace quarn::shell
