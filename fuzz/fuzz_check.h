#pragma once

#include <array>
#include <cstddef>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

// Stops the fuzzer on a broken promise, so the input is kept as a crash.
inline void Check(bool ok) {
    if (!ok) {
        __builtin_trap();
    }
}

// Texts of at most the given lengths from the input's start, then the rest
// of it.
template <std::size_t N>
std::array<std::string, N + 1> TextsOf(FuzzedDataProvider& data,
                                       const std::array<std::size_t, N>& lengths) {
    std::array<std::string, N + 1> texts;
    for (std::size_t i = 0; i < N; ++i) {
        texts[i] = data.ConsumeRandomLengthString(lengths[i]);
    }
    texts[N] = data.ConsumeRemainingBytesAsString();
    return texts;
}
