#include "kelcore/DebugDatabase.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using kelcore::utility::DebugDatabase;

TEST(DebugDatabase, EveryChangeMovesTheCounter) {
  DebugDatabase db;
  EXPECT_EQ(db.GetChangeCounter(), 0u);
  db.SetEntry("A", "1");
  db.SetEntry("A", "1");  // a write is a change even with the same text
  EXPECT_EQ(db.GetChangeCounter(), 2u);
  EXPECT_TRUE(db.RemoveEntry("A"));
  EXPECT_FALSE(db.RemoveEntry("A"));
  EXPECT_EQ(db.GetChangeCounter(), 3u);
  EXPECT_EQ(db.GetEntry("A", "none"), "none");
}

TEST(DebugDatabase, ConcurrentWritersLoseNoChange) {
  DebugDatabase db;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&db, t] {
      for (int i = 0; i < 500; ++i) db.SetEntry("K" + std::to_string(t), std::to_string(i));
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(db.GetChangeCounter(), 2000u);
  EXPECT_EQ(db.GetEntry("K3", ""), "499");
}

}  // namespace
