// Who may use the link: the leases commands take, what the session may send meanwhile, and
// the stop request. The session's side of it is in lcu_session_test.
#include <gtest/gtest.h>

#include "core/link/link_owner.h"
#include "support/scripted_backend.h"

namespace lcu {
namespace {

struct Owner {
  test::ScriptedBackend backend;
  CUsbDevice device{backend};
  LinkOwner link{device};

  // What the session may send now, as "poll memory monitor" with "-" for a refused kind.
  std::string Allowed() const {
    std::string allowed;
    for (const auto& [traffic, name] :
         {std::pair{SessionTraffic::kPoll, "poll"}, std::pair{SessionTraffic::kMemory, "memory"},
          std::pair{SessionTraffic::kMonitor, "monitor"}}) {
      if (!allowed.empty()) allowed += ' ';
      allowed += link.SessionMayTransfer(traffic) ? name : "-";
    }
    return allowed;
  }
};

constexpr const char* kAll = "poll memory monitor";
constexpr const char* kNone = "- - -";

TEST(LinkOwner, TheSessionSendsOnlyWhileNoCommandHoldsTheLinkOrTheCommandWaits) {
  Owner o;
  EXPECT_EQ(o.Allowed(), kAll);
  {
    CommandLease run = o.link.BeginCommand(CommandKind::kCommand);
    ASSERT_TRUE(run);
    EXPECT_EQ(o.Allowed(), kNone) << "the command sends";
    {
      const LinkOwner::WaitScope dialog(o.link);
      EXPECT_EQ(o.Allowed(), kAll) << "the command waits for the user";
    }
    std::string inside;
    run.LetEventsThrough([&] {
      inside = o.Allowed();
      return true;
    });
    EXPECT_EQ(inside, kAll) << "a command other than a download lets events through";
    const CUsbDevice::ExchangeScope exchange(o.device);
    const LinkOwner::WaitScope dialog(o.link);
    EXPECT_EQ(o.Allowed(), kNone) << "a block read is under way";
  }
  EXPECT_EQ(o.Allowed(), kAll) << "the lease went back";

  CommandLease download = o.link.BeginCommand(CommandKind::kDownload);
  EXPECT_TRUE(o.link.IsDownloadRunning());
  std::string betweenBuffers;
  std::string inItsDialog;
  EXPECT_FALSE(download.LetEventsThrough([&] {
    betweenBuffers = o.Allowed();
    return false;  // the program is quitting
  }));
  {
    const LinkOwner::WaitScope dialog(o.link);
    inItsDialog = o.Allowed();
  }
  EXPECT_EQ(betweenBuffers, "poll memory -") << "monitor documents stand still";
  EXPECT_EQ(inItsDialog, kAll);
  EXPECT_EQ(o.Allowed(), kNone);
}

TEST(LinkOwner, ASecondCommandIsRefusedOnlyWhenItComesFromTheEventsTheFirstLetsThrough) {
  Owner o;
  CommandLease outer = o.link.BeginCommand(CommandKind::kDownload);
  ASSERT_TRUE(outer);
  bool refusedInPump = false;
  bool refusedInDialog = false;
  outer.LetEventsThrough([&] {
    refusedInPump = !o.link.BeginCommand(CommandKind::kCommand);
    return true;
  });
  {
    const LinkOwner::WaitScope dialog(o.link);
    refusedInDialog = !o.link.BeginCommand(CommandKind::kCommand);
  }
  EXPECT_TRUE(refusedInPump);
  EXPECT_TRUE(refusedInDialog);
  {
    // A step of the command itself (zeroing ends by sending the configuration): same lease,
    // and giving it back leaves the outer one held.
    CommandLease step = o.link.BeginCommand(CommandKind::kCommand);
    EXPECT_TRUE(step);
  }
  EXPECT_TRUE(o.link.IsCommandRunning() && o.link.IsDownloadRunning());
  EXPECT_EQ(o.Allowed(), kNone);

  // Moving a lease moves the holding: only the last owner gives it back.
  CommandLease moved(std::move(outer));
  EXPECT_TRUE(o.link.IsCommandRunning());
  { CommandLease gone(std::move(moved)); }
  EXPECT_FALSE(o.link.IsCommandRunning() || o.link.IsDownloadRunning());

  const CUsbDevice::ExchangeScope exchange(o.device);
  EXPECT_FALSE(o.link.BeginCommand(CommandKind::kCommand)) << "a block read is under way";
}

// A command that starts inside a window's wait (a timer fired while a box was open) has not
// waited yet: the session keeps off the link until it does.
TEST(LinkOwner, ALeaseTakenInsideAWaitCountsOnlyItsOwnWaits) {
  Owner o;
  const LinkOwner::WaitScope box(o.link);
  CommandLease run = o.link.BeginCommand(CommandKind::kCommand);
  ASSERT_TRUE(run);
  EXPECT_EQ(o.Allowed(), kNone);
  EXPECT_TRUE(o.link.BeginCommand(CommandKind::kCommand)) << "its own step";
  const LinkOwner::WaitScope question(o.link);
  EXPECT_EQ(o.Allowed(), kAll);
  EXPECT_FALSE(o.link.BeginCommand(CommandKind::kCommand));
}

TEST(LinkOwner, AStopRequestHoldsUntilTheNextDownloadClearsIt) {
  Owner o;
  EXPECT_FALSE(o.link.StopRequested());
  o.link.RequestStop();  // before any download: kept, as the flag always was
  CommandLease run = o.link.BeginCommand(CommandKind::kDownload);
  EXPECT_TRUE(run.StopRequested());
  run.ClearStopRequest();
  EXPECT_FALSE(run.StopRequested());
  run.LetEventsThrough([&] {
    o.link.RequestStop();
    return true;
  });
  EXPECT_TRUE(run.StopRequested());
}

}  // namespace
}  // namespace lcu
