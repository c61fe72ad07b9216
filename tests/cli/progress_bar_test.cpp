// The download's progress line: its drawing, and that messages never land on top of it.
#include "cli/progress_bar.h"

#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace lcu::cli {
namespace {

TEST(ProgressBarTest, LineFillsInProportion) {
  const struct {
    int done;
    int steps;
    const char* line;
  } cases[] = {
      {0, 4, "Downloading Logger [                              ] 0/4"},
      {1, 4, "Downloading Logger [#######                       ] 1/4"},
      {4, 4, "Downloading Logger [##############################] 4/4"},
      {1, 3, "Downloading Logger [##########                    ] 1/3"},
      {0, 0, "Downloading Logger [                              ] 0/0"},
      {5, 4, "Downloading Logger [##############################] 4/4"},
      {-1, 4, "Downloading Logger [                              ] 0/4"},
  };
  for (const auto& c : cases) EXPECT_EQ(ProgressLine(c.done, c.steps), c.line) << c.done << '/' << c.steps;
}

// The figures follow the bar on the same line; a shorter line than the one before wipes the
// rest of it, and the end wipes the longest.
TEST(ProgressBarTest, DrawsInPlaceWithTheFiguresAndWipesWhatALongerLineLeft) {
  std::ostringstream out;
  ProgressBar bar(out, true);
  bar.BeginProgress(2);
  bar.StepProgress();
  bar.ShowTransferred({std::uint64_t{1} << 20, std::uint64_t{4096} << 20, std::chrono::seconds(10)});
  bar.ShowTransferred({std::uint64_t{4095} << 20, std::uint64_t{4096} << 20, std::chrono::seconds(4095)});
  bar.EndProgress();
  const std::string first = ProgressLine(1, 2, "1.0 MiB of 4096.0 MiB, 0.1 MB/s, 11:22:30 left");
  const std::string second = ProgressLine(1, 2, "4095.0 MiB of 4096.0 MiB, 1.0 MB/s, 0:01 left");
  ASSERT_GT(first.size(), second.size());
  EXPECT_EQ(out.str(), '\r' + ProgressLine(0, 2) + '\r' + ProgressLine(1, 2) + '\r' + first + '\r' + second +
                           std::string(first.size() - second.size(), ' ') + '\r' + std::string(first.size(), ' ') +
                           '\r');
}

// Messages of a failing download are printed on a clean line; the bar comes back at the
// next step.
TEST(ProgressBarTest, MessagesWipeTheLineFirst) {
  class Recorder final : public Prompter {
   public:
    explicit Recorder(std::ostream& out) : m_out(out) {}
    void ShowMessage(MessageKind, std::string_view text) override { m_out << text << '\n'; }
    bool AskQuestion(std::string_view text) override {
      m_out << text << '\n';
      return true;
    }

   private:
    std::ostream& m_out;
  };
  std::ostringstream out;
  ProgressBar bar(out, true);
  Recorder inner(out);
  ProgressPrompter prompter(inner, bar);
  bar.BeginProgress(1);
  prompter.Error("Failed to read channel data");
  prompter.Error("ReadFile failed");
  bar.EndProgress();
  const std::string line = ProgressLine(0, 1);
  EXPECT_EQ(out.str(), '\r' + line + '\r' + std::string(line.size(), ' ') + '\r' +
                           "Failed to read channel data\nReadFile failed\n");
}

}  // namespace
}  // namespace lcu::cli
