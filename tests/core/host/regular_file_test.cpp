// Which paths the programs read: regular files, and folders and missing paths whose open
// reports its own reason; never a pipe or a device, which would hang the read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include "core/host/regular_file.h"
#include "support/temp_folder.h"

namespace lcu {
namespace {

TEST(RegularFile, OnlyPipesDevicesAndTheLikeAreRefused) {
  test::TempFolder folder;
  const std::string file = (folder.Path() / "@LCU1.cal").string();
  std::ofstream(file) << "calibration";
  EXPECT_EQ(NotRegularFileReason(file), std::nullopt);
  EXPECT_EQ(NotRegularFileReason(folder.Path().string()), std::nullopt);
  EXPECT_EQ(NotRegularFileReason((folder.Path() / "missing.cal").string()), std::nullopt);
#if !defined(_WIN32)
  const std::string pipe = (folder.Path() / "pipe.hex").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(NotRegularFileReason(pipe), "Not a regular file");
  EXPECT_EQ(NotRegularFileReason("/dev/null"), "Not a regular file");
  // A link is judged by what it names.
  const std::string link = (folder.Path() / "link.DAT").string();
  std::filesystem::create_symlink(pipe, link);
  EXPECT_EQ(NotRegularFileReason(link), "Not a regular file");
#endif
}

}  // namespace
}  // namespace lcu
