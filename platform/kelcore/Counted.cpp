#include "kelcore/Counted.h"

namespace kelcore {

// Out of line so that the vtable lives in one library.
CountedObject::~CountedObject() = default;

}  // namespace kelcore
