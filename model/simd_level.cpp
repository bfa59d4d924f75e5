#include "model/simd_level.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

// -1 until decided; then a SimdLevel.
std::atomic<int> g_level{-1};

} // namespace

bool simd_level_supported(SimdLevel level) {
    switch (level) {
    case kSimdBaseline:
        return true;
#if defined(__GNUC__) && defined(__x86_64__)
    case kSimdAvx2:
        // libgcc's check includes that the operating system saves the 256-bit registers. The
        // build's exact quotients need the fused multiply-adds, which came with AVX2 on every
        // processor known but are a feature of their own.
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0 && __builtin_cpu_supports("fma") != 0;
    case kSimdAvx512:
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0 && __builtin_cpu_supports("fma") != 0 &&
               __builtin_cpu_supports("avx512f") != 0;
#endif
    default:
        return false;
    }
}

SimdLevel simd_level_for(const char* cap) {
    if (cap != nullptr && std::strcmp(cap, "baseline") == 0) return kSimdBaseline;
    const bool at_most_avx2 = cap != nullptr && std::strcmp(cap, "avx2") == 0;
    if (!at_most_avx2 && simd_level_supported(kSimdAvx512)) return kSimdAvx512;
    return simd_level_supported(kSimdAvx2) ? kSimdAvx2 : kSimdBaseline;
}

SimdLevel simd_level() {
    int level = g_level.load(std::memory_order_relaxed);
    if (level < 0) {
        // Two threads deciding at once decide the same.
        level = simd_level_for(std::getenv(kSimdEnvironmentVariable));
        g_level.store(level, std::memory_order_relaxed);
    }
    return static_cast<SimdLevel>(level);
}

bool set_simd_level(SimdLevel level) {
    if (!simd_level_supported(level)) return false;
    g_level.store(level, std::memory_order_relaxed);
    return true;
}
