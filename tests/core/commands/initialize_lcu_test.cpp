// Initialize LCU: the question it asks and the status block it writes.
#include <gtest/gtest.h>

#include <tuple>

#include "core/commands/initialize_lcu.h"
#include "core/logger/session_block.h"
#include "core/messages/messages.h"
#include "core/util/little_endian.h"
#include "support/command_fixture.h"

namespace lcu {
namespace {

using test::CommandFixture;

// Both programs ask first (No is the default), saying when the LCU holds data.
TEST(InitializeLcu, AsksThenWritesTheNumberEntered) {
  for (const auto& [dataPresent, yes, question] :
       {std::tuple{0u, true, msg::kInitializeLcuContinue}, std::tuple{1u, false, msg::kInitializeLcuWithData}}) {
    CommandFixture f;
    f.GoOnline();
    f.prompter.initAnswer = 0xABCD;
    f.prompter.answers = {yes};
    SessionBlock session{};
    le::PutU32(session, 0, dataPresent);
    f.Reply(session);
    const InitializeLcuResult init = InitializeLcu(f.ctx);
    EXPECT_EQ(init.result, yes ? CommandResult::kDone : CommandResult::kDeclined);
    EXPECT_EQ(init.lcuNumber, 0xABCD);
    EXPECT_EQ(init.heldData, dataPresent != 0);
    EXPECT_EQ(f.prompter.questions, std::vector<std::string>{std::string(question)});
    std::vector<std::string> sent = {"in 41 8040/0 64"};
    if (yes) sent.insert(sent.end(), {"out 46 8000/0", "bulk-out 64"});
    EXPECT_EQ(f.Sent(), sent);
    std::vector<std::uint8_t> block(64, 0);
    block[2] = 2;
    le::PutU16(block, 4, 0xABCD);
    EXPECT_EQ(f.LastWritten(), yes ? block : std::vector<std::uint8_t>{});
    EXPECT_EQ(std::vector<std::uint8_t>(init.written.begin(), init.written.end()),
              yes ? block : std::vector<std::uint8_t>(64, 0));
  }
}

}  // namespace
}  // namespace lcu
