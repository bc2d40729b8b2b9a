#pragma once

#include <memory>

#include "kelsol/ScriptedRunner.h"

namespace kel_test {

// What plays a scripted run of the dialog tests: the scripted runner itself, or, where the same
// tests are built against the dialog's window, a window runner that plays the script's actions on
// the window's widgets.
std::shared_ptr<kelsol::ModalRunner> RunnerUnderTest(const std::shared_ptr<kelsol::ScriptedRunner>& script);

}  // namespace kel_test
