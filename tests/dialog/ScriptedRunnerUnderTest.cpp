#include "dialog/RunnerUnderTest.h"

namespace kel_test {

std::shared_ptr<kelsol::ModalRunner> RunnerUnderTest(const std::shared_ptr<kelsol::ScriptedRunner>& script) {
  return script;
}

}  // namespace kel_test
