#include "kelcore/DebugDatabase.h"

#include <gtest/gtest.h>

namespace {

using kelcore::utility::DebugDatabase;

TEST(DebugDatabase, EveryChangeMovesTheCounter) {
  DebugDatabase db;
  db.SetEntry("A", "1");
  db.SetEntry("A", "1");  // a write is a change even with the same text
  EXPECT_EQ(db.GetChangeCounter(), 2u);
  EXPECT_TRUE(db.RemoveEntry("A"));
  EXPECT_FALSE(db.RemoveEntry("A"));
  EXPECT_EQ(db.GetChangeCounter(), 3u);
  EXPECT_EQ(db.GetEntry("A", "none"), "none");
}

}  // namespace
