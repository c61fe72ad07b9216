// The Windows file layer: an exclusive create never touches a file of the same name, writes
// land where they are aimed, UTF-8 names (the accented ones below) reach the system as the
// same characters, and a replace that fails leaves the old file as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/host_file_system.h"
#include "support/temp_folder.h"

namespace lcu {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::string ReadAll(const fs::path& path) {
  std::string bytes(fs::file_size(path), '\0');
  std::ifstream(path, std::ios::binary).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

void WriteText(const fs::path& path, std::string_view text) { std::ofstream(path, std::ios::binary) << text; }

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return {text.begin(), text.end()};
}

class WindowsFilesTest : public ::testing::Test {
 protected:
  std::vector<std::string> FileNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_dir.Path())) names.push_back(Utf8(entry.path().filename()));
    return names;
  }

  // A whole save through a replacement; false when any step failed.
  bool Replace(const fs::path& path, std::string_view text) {
    std::string reason;
    auto file = m_files.Create(Utf8(path), CreateMode::kReplace, reason);
    return file && file->Write(Bytes(text)) && file->Commit();
  }

  const test::TempFolder m_dir;
  HostFileSystem m_files;
};

// An exclusive create never touches a file of the same name.
TEST_F(WindowsFilesTest, PositionedWritesAndTruncateShapeTheFileAnExclusiveCreateMade) {
  const fs::path path = m_dir / "C040C32C.DAT";
  auto file = m_files.Create(Utf8(path), CreateMode::kExclusive);
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(file->WriteAt(4, Bytes("EFGH")));
  ASSERT_TRUE(file->WriteAt(0, Bytes("ABCD")));
  ASSERT_TRUE(file->Write(Bytes("IJKL")));  // at the end, not where the last write stopped
  ASSERT_TRUE(file->Truncate(10));
  ASSERT_TRUE(file->Commit());
  EXPECT_EQ(ReadAll(path), "ABCDEFGHIJ");
  EXPECT_FALSE(file->Write(Bytes("x")));  // closed by the commit
  EXPECT_FALSE(file->ErrorText().empty());
  EXPECT_EQ(m_files.Create(Utf8(path), CreateMode::kExclusive), nullptr);
  EXPECT_TRUE(m_files.Exists(Utf8(path)));
  EXPECT_EQ(ReadAll(path), "ABCDEFGHIJ");
}

// Adding to a file opens only one that exists, and writes behind what it holds.
TEST_F(WindowsFilesTest, AppendAddsBehindAnExistingFileOnly) {
  const fs::path path = m_dir / L"C040C32C \u00E9.DAT";
  EXPECT_EQ(m_files.Create(Utf8(path), CreateMode::kAppend), nullptr);
  EXPECT_FALSE(fs::exists(path));
  WriteText(path, "ABC");
  auto file = m_files.Create(Utf8(path), CreateMode::kAppend);
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(file->Write(Bytes("DE")));
  ASSERT_TRUE(file->Commit());
  EXPECT_EQ(ReadAll(path), "ABCDE");
  EXPECT_EQ(m_files.Create(Utf8(m_dir.Path()), CreateMode::kAppend), nullptr);
}

TEST_F(WindowsFilesTest, ReplacePutsTheNewBytesInPlace) {
  const fs::path path = m_dir / L"@LCU1 \u00E9.cal";
  EXPECT_TRUE(Replace(path, "first"));
  EXPECT_TRUE(Replace(path, "second"));
  EXPECT_EQ(ReadAll(path), "second");
  EXPECT_EQ(FileNames(), std::vector<std::string>{Utf8(path.filename())});

  // A replacement closed without its commit leaves the file and nothing else.
  std::string reason;
  auto file = m_files.Create(Utf8(path), CreateMode::kReplace, reason);
  ASSERT_NE(file, nullptr) << reason;
  ASSERT_TRUE(file->Write(Bytes("third")));
  file->Close();
  EXPECT_EQ(ReadAll(path), "second");
  EXPECT_EQ(FileNames(), std::vector<std::string>{Utf8(path.filename())});
}

// The old file held open without delete sharing, as a program reading it would: the rename
// over it fails, and the old bytes and nothing else stay in the folder.
TEST_F(WindowsFilesTest, ReplaceThatFailsKeepsTheOldFile) {
  const fs::path path = m_dir / "channel.nsb";
  WriteText(path, "old settings");
  const HANDLE reader = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(Replace(path, "new settings"));
  CloseHandle(reader);
  EXPECT_EQ(ReadAll(path), "old settings");
  EXPECT_EQ(FileNames(), std::vector<std::string>{"channel.nsb"});

  // A folder that does not exist: nothing is created anywhere.
  EXPECT_FALSE(Replace(m_dir / "missing" / "x.stp", "x"));
  EXPECT_FALSE(fs::exists(m_dir / "missing"));
}

TEST_F(WindowsFilesTest, CreateFoldersMakesEveryMissingLevel) {
  const fs::path folder = m_dir / L"Velmora" / L"Sample \u00E9" / L"17";
  std::string reason;
  ASSERT_TRUE(m_files.CreateFolders(Utf8(folder), reason)) << reason;
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_TRUE(m_files.CreateFolders(Utf8(folder), reason));  // already there
  WriteText(m_dir / "file", "x");
  EXPECT_FALSE(m_files.CreateFolders(Utf8(m_dir / "file" / "below"), reason));
  EXPECT_FALSE(reason.empty());
}

}  // namespace
}  // namespace lcu
