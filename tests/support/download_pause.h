// Runs a piece of a test where a download lets events through: under a download's lease,
// inside its LetEventsThrough, as the program's timers and menus run there.
#pragma once

#include <gtest/gtest.h>

#include "core/link/link_owner.h"

namespace lcu::test {

template <typename Body>
void InsideDownloadPause(LinkOwner& link, Body body) {
  CommandLease run = link.BeginCommand(CommandKind::kDownload);
  ASSERT_TRUE(run) << "no download lease";
  run.LetEventsThrough([&body] {
    body();
    return true;
  });
}

}  // namespace lcu::test
