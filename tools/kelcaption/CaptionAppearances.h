#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "kelcaption/StateFacts.h"

namespace kelcaption {

// A window's text as a viewer sees it stay on screen: the states in a row, each beginning where
// the last ended, in which the window of that number shows the same lines.
struct Appearance {
  int window = 0;
  std::vector<std::string> lines;
  kelmediatypes::TickTime begin;
  kelmediatypes::TickTime end;
  std::size_t firstState = 0;
  std::size_t lastState = 0;
  // The characters there are to read: those that the window did not show just before, so that a
  // roll-up caption counts only the line it adds and a painted one the characters it adds.
  long newCharacters = 0;
  // Whether it goes on from the window's text just before (a line kept, or one grown), rather
  // than replacing it.
  bool continues = false;
};

// The appearances of `states`, by their beginning (windows in drawing order within a state).
std::vector<Appearance> AppearancesOf(const std::vector<StateFacts>& states);

// A stretch that a viewer reads as one caption: an appearance and those that go on from it, as
// the lines of roll-up and paint-on captions arrive.
struct Reading {
  int window = 0;
  kelmediatypes::TickTime begin;
  kelmediatypes::TickTime end;
  std::size_t firstState = 0;
  long characters = 0;
};
std::vector<Reading> ReadingsOf(const std::vector<Appearance>& appearances);

}  // namespace kelcaption
