#pragma once

// Checks of what a caption file read gives and reports, shared by the reader tests.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kelcaptionfiles/FileNotes.h"
#include "kelcaptionfiles/ReadError.h"
#include "kelcaptioning/CaptionList.h"

namespace kel_test {

struct ExpectedNote {
  std::string text;   // FileNote::Text()
  std::string place;  // FilePlace::Text() of where it first stands
};

// The notes are exactly these, in this order, each first at its place.
inline void ExpectNotes(const kelcaptionfiles::FileNotes& notes, const std::vector<ExpectedNote>& expected) {
  ASSERT_EQ(notes.All().size(), expected.size()) << ::testing::PrintToString(notes.Texts());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(notes.All()[i].Text(), expected[i].text);
    EXPECT_EQ(notes.All()[i].first.Text(), expected[i].place) << expected[i].text;
  }
}

// What the ReadError that `read` throws says, or "no error".
template <class Read>
std::string ReadErrorOf(Read&& read) {
  try {
    read();
  } catch (const kelcaptionfiles::ReadError& e) {
    return e.what();
  }
  return "no error";
}

// Each caption's text, its paragraphs joined by '|'.
inline std::vector<std::u16string> CaptionTexts(const kelcaptioning::CaptionList& list) {
  std::vector<std::u16string> texts;
  for (const kelcaptioning::CaptionPtr& caption : list.GetCaptions()) {
    std::u16string text;
    for (const auto& paragraph : caption->GetCaptionTextParagraphs()) {
      if (!text.empty()) text += u'|';
      text += std::u16string_view(paragraph->GetText());
    }
    texts.push_back(text);
  }
  return texts;
}

}  // namespace kel_test
