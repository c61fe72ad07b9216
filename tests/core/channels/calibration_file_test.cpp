// Calibration files: the slot search, the slot 1 fallback, and whole-image loads and saves.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/app/messages.h"
#include "core/channels/calibration_file.h"
#include "core/host/file_system.h"
#include "core/host/memory_settings_store.h"
#include "core/host/registry.h"
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
                FormatSystemError(msg::kCouldNotLoadCalibration, FileOf(1) + ": " + std::string(msg::kCalibrationFileTooShort)),
                FormatSystemError(msg::kCouldNotLoadCalibration, FileOf(1) + ": No such file or directory\n" + std::string(msg::kCopySetupHint))}));
}

TEST_F(CalibrationFileTest, SaveIntoAMissingFolderFails) {
  store.WriteString("Paths", "SetupDirectory", (m_dir / "missing").string());
  EXPECT_FALSE(Save(1, CalibrationImage{}));
  EXPECT_EQ(prompter.messages, std::vector<std::string>{FormatSystemError(
                                   msg::kFailedToSaveCalibrationFile, (m_dir / "missing" / "@LCU1.cal").string() +
                                                                          ": No such file or directory")});
}

}  // namespace
}  // namespace lcu
