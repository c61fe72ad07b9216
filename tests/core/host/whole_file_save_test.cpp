// Saving over an existing file on a real disk, with both file layers: a file size limit (a
// disk that takes only part of the file) leaves the old file whole and no replacement behind;
// a save that goes through replaces the bytes and keeps what the file was (its permissions,
// the link that names it).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "core/host/whole_file_save.h"
#include "platform/host_file_system.h"
#include "support/file_size_limit.h"

namespace lcu {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t EntriesIn(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

class WholeFileSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() /
            ("lcu-save-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  fs::path m_dir;
};

TEST_F(WholeFileSaveTest, AFullDiskLeavesTheOldFileWholeWithEitherFileLayer) {
  const std::vector<std::uint8_t> old(16384, 'A'), fresh(16384, 'B');
  HostFileSystem host;
  StdFileSystem standard;
  for (FileSystem* files : {static_cast<FileSystem*>(&host), static_cast<FileSystem*>(&standard)}) {
    const fs::path path = m_dir / "@LCU1.cal";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(old.data()), 16384);

    SaveOutcome failed;
    {
      const test::FileSizeLimit limit(8192);  // as (ulimit -f 8; ...) runs the save
      failed = SaveWholeFile(*files, path.string(), fresh);
    }
    EXPECT_EQ(failed.step, SaveStep::kNotWritten);
    EXPECT_EQ(failed.reason, "File too large");
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(EntriesIn(m_dir), 1u) << "a replacement was left behind";

    EXPECT_TRUE(SaveWholeFile(*files, path.string(), fresh).Saved());
    EXPECT_EQ(ReadAll(path), fresh);
    EXPECT_EQ(EntriesIn(m_dir), 1u);
    fs::remove(path);
  }
}

TEST_F(WholeFileSaveTest, TheHostKeepsTheFilesPermissionsAndTheLinkThatNamesIt) {
  const fs::path target = m_dir / "target.nsb";
  const fs::path link = m_dir / "link.nsb";
  std::ofstream(target) << "old";
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(target, link);

  HostFileSystem host;
  const std::vector<std::uint8_t> fresh = {'n', 'e', 'w'};
  ASSERT_TRUE(SaveWholeFile(host, link.string(), fresh).Saved());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadAll(target), fresh);
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(EntriesIn(m_dir), 2u);
}

}  // namespace
}  // namespace lcu
