#include "render/DebugFlag.h"

#include <gtest/gtest.h>

namespace {

using kelcaptioningui::CachedDebugFlag, kelcaptioningui::ReadDebugBool, kelcore::utility::DebugDatabase;

TEST(DebugFlag, OnlyTheExactLowercaseTrueIsTrue) {
  DebugDatabase db;
  EXPECT_TRUE(ReadDebugBool(db, "Flag", true));  // the default shows through a missing entry
  for (const char* text : {"True", "1", "true "}) {
    db.SetEntry("Flag", text);
    EXPECT_FALSE(ReadDebugBool(db, "Flag", true)) << '"' << text << '"';
  }
  db.SetEntry("Flag", "true");
  EXPECT_TRUE(ReadDebugBool(db, "Flag", false));
}

TEST(DebugFlag, RereadsOnlyWhenTheChangeCounterMoves) {
  DebugDatabase on, off;
  on.SetEntry("DebugCaptionWindows", "true");
  off.SetEntry("DebugCaptionWindows", "false");
  ASSERT_EQ(on.GetChangeCounter(), off.GetChangeCounter());
  CachedDebugFlag flag("DebugCaptionWindows", false);
  EXPECT_TRUE(flag.Read(on));
  // Same counter: the cached value is returned without looking at the entries.
  EXPECT_TRUE(flag.Read(off));
  off.SetEntry("Other", "x");  // any change moves the counter
  EXPECT_FALSE(flag.Read(off));
  // A fresh flag reads even at counter 0.
  EXPECT_TRUE(CachedDebugFlag("X", true).Read(DebugDatabase()));
}

TEST(DebugFlag, DatabaseEntriesLoadFromText) {
  DebugDatabase db;
  db.LoadEntries("DebugCaptionWindows=true;novalue;A=b=c");
  EXPECT_EQ(db.GetEntry("DebugCaptionWindows", ""), "true");
  EXPECT_EQ(db.GetEntry("A", ""), "b=c");
}

}  // namespace
