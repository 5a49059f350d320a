#include "memory.h"

#include <windows.h>

namespace orvane {

void ReleaseFreeMemory() {
    HeapCompact(GetProcessHeap(), 0);
}

} // namespace orvane
