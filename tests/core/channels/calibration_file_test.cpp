// Calibration files: the slot search, the slot 1 fallback, and whole-image loads and saves.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/channels/calibration_backup.h"
#include "core/channels/calibration_file.h"
#include "core/host/file_system.h"
#include "core/host/memory_settings_store.h"
#include "core/host/registry.h"
#include "core/messages/messages.h"
#include "support/recording_prompter.h"
#include "support/temp_folder.h"

namespace lcu {
namespace {

namespace fs = std::filesystem;

class CalibrationFileTest : public ::testing::Test {
 protected:
  void SetUp() override { store.WriteString("Paths", "SetupDirectory", m_dir.Path().string()); }

  void Register(int slot, const std::string& serial) { store.WriteString(SlotKey(slot), "Serial", serial); }
  std::string FileOf(int slot) const { return (m_dir / ("@LCU" + std::to_string(slot) + ".cal")).string(); }
  void WriteFile(int slot, std::size_t size, std::uint8_t fill) const {
    std::ofstream(FileOf(slot), std::ios::binary) << std::string(size, static_cast<char>(fill));
  }

  bool Save(std::uint16_t lcuNumber, const CalibrationImage& image) {
    return SaveCalibration(files, store, lcuNumber, image, prompter);
  }

  MemorySettingsStore store;
  StdFileSystem files;
  test::RecordingPrompter prompter;
  test::TempFolder m_dir;
};

// A registered slot with its own file is used, the lower slot first; without either, slot 1.
TEST_F(CalibrationFileTest, SlotSearchFallsBackToSlotOne) {
  Register(2, "77");
  Register(5, "77");
  WriteFile(2, 16384, 2);
  WriteFile(5, 16384, 5);
  EXPECT_EQ(GetCalibrationPath(store, 77), FileOf(2));
  EXPECT_EQ(FindLcuSlot(store, 77), 2);
  CalibrationImage image;
  ASSERT_TRUE(LoadCalibration(store, 77, image));
  EXPECT_EQ(image.Bytes()[100], 2);
  Register(3, "1234");
  EXPECT_EQ(GetCalibrationPath(store, 1234), FileOf(1));
  EXPECT_EQ(GetCalibrationPath(store, 999), FileOf(1));
  Register(1, "5");
  Register(4, "");
  EXPECT_EQ(FindLcuSlot(store, 0), 4);  // an empty serial reads as 0
  // Zeroing then saves into the file of slot 1, and the file loads back byte for byte.
  for (std::size_t i = 0; i < image.Bytes().size(); ++i) image.Bytes()[i] = static_cast<std::uint8_t>(i * 31);
  ASSERT_TRUE(Save(1234, image));
  EXPECT_FALSE(fs::exists(FileOf(3)));
  CalibrationImage back;
  ASSERT_TRUE(LoadCalibration(store, 1234, back));
  EXPECT_EQ(back, image);
}

TEST_F(CalibrationFileTest, ShortFilesFailLongFilesLoadTheirStart) {
  Register(1, "1");
  WriteFile(1, 16383, 9);
  CalibrationImage image;
  EXPECT_FALSE(LoadCalibration(store, 1, image, prompter, msg::kCouldNotLoadCalibration));
  WriteFile(1, 20000, 7);
  EXPECT_TRUE(LoadCalibration(store, 1, image, prompter, msg::kCouldNotLoadCalibration));
  EXPECT_EQ(image.Bytes()[16383], 7);
  fs::remove(FileOf(1));
  EXPECT_FALSE(LoadCalibration(store, 1, image, prompter, msg::kCouldNotLoadCalibration));
  // Each failure names the file looked for and why it did not load.
  EXPECT_EQ(prompter.messages,
            (std::vector<std::string>{
                FormatSystemError(msg::kCouldNotLoadCalibration,
                                  FileOf(1) + ": " + std::string(msg::kCalibrationFileTooShort)),
                FormatSystemError(msg::kCouldNotLoadCalibration,
                                  FileOf(1) + ": No such file or directory\n" + std::string(msg::kCopySetupHint))}));
}

TEST_F(CalibrationFileTest, SaveIntoAMissingFolderFails) {
  store.WriteString("Paths", "SetupDirectory", (m_dir / "missing").string());
  EXPECT_FALSE(Save(1, CalibrationImage{}));
  EXPECT_EQ(prompter.messages, std::vector<std::string>{FormatSystemError(
                                   msg::kFailedToSaveCalibrationFile,
                                   (m_dir / "missing" / "@LCU1.cal").string() + ": No such file or directory")});
}

// Another LCU's file is used where the slot rule falls back on slot 1, but never without a
// word: the load names it in a note, the question names both LCUs. The LCU's own file, from
// any slot, goes without either.
TEST_F(CalibrationFileTest, AFileOfAnotherLcuIsNamedWithBothLcus) {
  Register(1, "1");
  Register(2, "2");
  Register(3, "");
  Register(4, "44");
  WriteFile(1, 16384, 1);
  WriteFile(4, 16384, 4);
  const std::string one = FileOf(1);
  const struct {
    std::uint16_t lcu;
    std::string question;  // empty: its own file, nothing asked
    std::string path;
  } cases[] = {
      {1, "", one},
      {44, "", FileOf(4)},
      {7, "LCU 7 is not registered; use the calibration of LCU 1 (@LCU1.cal)?", one},
      {2, "LCU 2 has no calibration file (@LCU2.cal); use the calibration of LCU 1 (@LCU1.cal)?", one},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lcu);
    prompter = test::RecordingPrompter();
    const CalibrationSource source = FindCalibration(store, c.lcu);
    EXPECT_EQ(source.path, c.path);
    EXPECT_EQ(source.IsOwn(), c.question.empty());
    EXPECT_EQ(ConfirmCalibrationSource(store, source, prompter), c.question.empty()) << "No, or no question";
    EXPECT_EQ(prompter.questions, c.question.empty() ? std::vector<std::string>{} : std::vector{c.question});
    prompter.answers = {true};
    EXPECT_TRUE(ConfirmCalibrationSource(store, source, prompter));

    ChannelModel app;
    ASSERT_TRUE(LoadAppCalibration(app, store, c.lcu, prompter, msg::kCouldNotLoadCalibration));
    EXPECT_EQ(app.m_szCalibrationFile, c.path);
    std::string note = c.question;
    if (!note.empty())
      note.replace(note.find("; use the calibration of LCU 1 (@LCU1.cal)?"), std::string::npos,
                   "; using the calibration of LCU 1 (" + one + ").");
    EXPECT_EQ(prompter.notes, note.empty() ? std::vector<std::string>{} : std::vector{note});
    ASSERT_TRUE(
        LoadAppCalibration(app, store, c.lcu, prompter, msg::kCouldNotLoadCalibration, CalibrationNote::kSilent));
    EXPECT_EQ(prompter.notes.size(), note.empty() ? 0u : 1u) << "a caller that asked has no note";
  }
  // Slot 1 without a registered LCU is named as the slot.
  store.WriteString(SlotKey(1), "Serial", "");
  EXPECT_EQ(ForeignCalibrationText(store, FindCalibration(store, 9), msg::kUseCalibrationOf, "@LCU1.cal"),
            "LCU 9 is not registered; use the calibration of slot 1 (@LCU1.cal)?");
}

// Each save keeps the file as it was in ".bak", the two before in ".bak2" and ".bak3"; putting
// a backup back walks the same way back, until none is left.
TEST_F(CalibrationFileTest, SavesKeepTheLastThreeVersionsAndRestoresWalkBack) {
  Register(1, "1");
  WriteFile(1, 20000, 0);  // a longer file is kept whole
  const auto image = [](std::uint8_t fill) {
    CalibrationImage made;
    std::fill(made.Bytes().begin(), made.Bytes().end(), fill);
    return made;
  };
  const auto content = [](const std::string& path) { return test::ReadBytes(path); };
  const auto filled = [](std::size_t size, std::uint8_t fill) { return std::vector<std::uint8_t>(size, fill); };
  const std::string path = FileOf(1);
  for (std::uint8_t version = 1; version <= 4; ++version) {
    ASSERT_TRUE(Save(1, image(version)));
    if (version == 1) {
      EXPECT_EQ(content(path + ".bak"), filled(20000, 0));
    }
  }
  EXPECT_EQ(content(path), filled(16384, 4));
  EXPECT_EQ(content(path + ".bak"), filled(16384, 3));
  EXPECT_EQ(content(path + ".bak2"), filled(16384, 2));
  EXPECT_EQ(content(path + ".bak3"), filled(16384, 1));
  EXPECT_FALSE(fs::exists(path + ".bak4")) << "the version before is gone";

  for (std::uint8_t version = 3; version >= 1; --version) {
    ASSERT_TRUE(HasCalibrationBackup(path));
    ASSERT_EQ(RestoreCalibrationBackup(files, path), std::nullopt);
    EXPECT_EQ(content(path), filled(16384, version));
  }
  EXPECT_FALSE(HasCalibrationBackup(path));
  for (const char* suffix : {".bak", ".bak2", ".bak3"}) EXPECT_FALSE(fs::exists(path + suffix)) << suffix;
  const std::optional<BackupFailure> none = RestoreCalibrationBackup(files, path);
  ASSERT_TRUE(none);
  EXPECT_EQ(none->path, path + ".bak");
  EXPECT_EQ(content(path), filled(16384, 1)) << "nothing to put back leaves the file";
  EXPECT_TRUE(prompter.messages.empty());
}

}  // namespace
}  // namespace lcu
