// Saving over an existing file on a real disk, with both file layers: a file size limit (a
// disk that takes only part of the file) leaves the old file whole and no replacement behind;
// a save that goes through replaces the bytes and keeps what the file was (its permissions,
// the link that names it).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "core/host/whole_file_save.h"
#include "platform/host_file_system.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

namespace lcu {
namespace {

namespace fs = std::filesystem;

using test::ReadBytes;

std::size_t EntriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(WholeFileSave, AFullDiskLeavesTheOldFileWholeWithEitherFileLayer) {
  const test::TempFolder dir;
  const std::vector<std::uint8_t> old(16384, 'A'), fresh(16384, 'B');
  HostFileSystem host;
  StdFileSystem standard;
  for (FileSystem* files : {static_cast<FileSystem*>(&host), static_cast<FileSystem*>(&standard)}) {
    const fs::path path = dir / "@LCU1.cal";
    test::WriteBytes(path, old);

    SaveOutcome failed;
    {
      const test::FileSizeLimit limit(8192);  // as (ulimit -f 8; ...) runs the save
      failed = SaveWholeFile(*files, path.string(), fresh);
    }
    EXPECT_EQ(failed.step, SaveStep::kNotWritten);
    EXPECT_EQ(failed.reason, "File too large");
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u) << "a replacement was left behind";

    EXPECT_TRUE(SaveWholeFile(*files, path.string(), fresh).Saved());
    EXPECT_EQ(ReadBytes(path), fresh);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
    fs::remove(path);
  }
}

TEST(WholeFileSave, TheHostKeepsTheFilesPermissionsAndTheLinkThatNamesIt) {
  const test::TempFolder dir;
  const fs::path target = dir / "target.nsb";
  const fs::path link = dir / "link.nsb";
  std::ofstream(target) << "old";
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(target, link);

  HostFileSystem host;
  const std::vector<std::uint8_t> fresh = {'n', 'e', 'w'};
  ASSERT_TRUE(SaveWholeFile(host, link.string(), fresh).Saved());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadBytes(target), fresh);
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(EntriesIn(dir.Path()), 2u);
}

}  // namespace
}  // namespace lcu
