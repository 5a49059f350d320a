#pragma once

// Stops the fuzzer on a broken promise, so the input is kept as a crash.
inline void Check(bool ok) {
    if (!ok) {
        __builtin_trap();
    }
}
