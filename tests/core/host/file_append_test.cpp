// Adding to a finished file on a real disk, with both file layers: the bytes go behind what
// the file holds, and nothing but an existing regular file is opened; a named pipe is refused
// at once rather than waited on.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "core/messages/messages.h"
#include "platform/host_file_system.h"
#include "support/temp_folder.h"

namespace lcu {
namespace {

namespace fs = std::filesystem;

TEST(FileAppend, AddsBehindTheFileAndOpensNothingButAnExistingRegularFile) {
  const test::TempFolder dir;
  const fs::path pipe = dir / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  HostFileSystem host;
  StdFileSystem standard;
  for (FileSystem* files : {static_cast<FileSystem*>(&host), static_cast<FileSystem*>(&standard)}) {
    const fs::path path = dir / "C0701CE3.DAT";
    test::WriteBytes(path, std::vector<std::uint8_t>{1, 2, 3});
    std::string reason;
    const auto file = files->Create(path.string(), CreateMode::kAppend, reason);
    ASSERT_NE(file, nullptr) << reason;
    EXPECT_TRUE(file->Write(std::vector<std::uint8_t>{4, 5}));
    EXPECT_TRUE(file->Commit()) << file->ErrorText();
    EXPECT_EQ(test::ReadBytes(path), (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));

    const std::vector<std::pair<fs::path, std::string>> refused = {
        {dir / "missing.DAT", "No such file or directory"},
        {dir.Path(), "Is a directory"},
        {pipe, std::string(msg::kNotARegularFile)},
    };
    for (const auto& [where, why] : refused) {
      reason.clear();
      EXPECT_EQ(files->Create(where.string(), CreateMode::kAppend, reason), nullptr) << where;
      EXPECT_EQ(reason, why) << where;
    }
    EXPECT_FALSE(fs::exists(dir / "missing.DAT"));
    fs::remove(path);
  }
}

}  // namespace
}  // namespace lcu
