#include "memory.h"

#include <malloc.h>

namespace orvane {

void ReleaseFreeMemory() {
    malloc_trim(0);
}

} // namespace orvane
