// ScopedDetach: handlers away for a scope and back however it ends.
#include "host/ui/scoped_detach.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

namespace ui {
namespace {

using Handler = std::function<void(std::string&)>;

TEST(ScopedDetachTest, HandlersAreAwayForTheScopeAndBackAfterItEvenWhenItThrows) {
  Handler change = [](std::string& log) { log += "change "; };
  Handler exit = [](std::string& log) { log += "exit "; };
  std::string log;
  EXPECT_THROW(
      {
        const ScopedDetach detached(change, exit);
        EXPECT_FALSE(change);
        EXPECT_FALSE(exit);
        throw std::runtime_error("refused");
      },
      std::runtime_error);
  ASSERT_TRUE(change && exit);
  change(log);
  exit(log);
  EXPECT_EQ(log, "change exit ");
}

TEST(ScopedDetachTest, ReattachPutsThemBackEarlyAndTheScopeEndLeavesThemAlone) {
  int calls = 0;
  Handler post = [&](std::string&) { ++calls; };
  std::string log;
  {
    ScopedDetach detached(post);
    detached.reattach();
    ASSERT_TRUE(post);
    post(log);
    // A handler bound after the early reattach stays bound when the scope ends.
    post = [&](std::string&) { calls += 10; };
  }
  post(log);
  EXPECT_EQ(calls, 11);
}

}  // namespace
}  // namespace ui
