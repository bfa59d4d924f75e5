// Which build of the quadrature's hot loops runs: the portable baseline code, or a build of the
// same loops for the AVX2 instructions of the processor the program runs on. Any thread: the
// choice is one atomic value, made once and changed only by tests and benchmarks.
#pragma once

// Builds of the hot loops, in increasing order of the instructions they need. Every build does
// the same operations in the same order without fused multiply-adds, so all give the same bits.
// There is no AVX-512 build: 512-bit divisions deliver no more quotients per cycle than 256-bit
// ones on the processors measured, and that build ran about 8 % slower.
enum SimdLevel {
    kSimdBaseline = 0, // the target's default instructions (SSE2 on x86-64)
    kSimdAvx2 = 1      // 256-bit vectors
};

// Name of the environment variable that forces a build: "baseline" runs the baseline build even
// where the processor offers more; any other value, or none, leaves the choice to the processor.
constexpr const char* kSimdEnvironmentVariable = "HYSTERESIS_SIMD";

// True when this processor (and its operating system) can run the build of `level`; the
// baseline is always supported, the AVX2 build only on x86-64 processors that have AVX2.
bool simd_level_supported(SimdLevel level);

// The level chosen for this processor when the environment variable holds `cap` (null when it
// is unset): the fastest supported build, or the baseline when cap is "baseline".
SimdLevel simd_level_for(const char* cap);

// The level in use. Decided on first use from the processor and kSimdEnvironmentVariable.
SimdLevel simd_level();

// Makes `level` the level in use when it is supported and returns true; otherwise changes
// nothing and returns false. For tests and benchmarks that compare the builds.
bool set_simd_level(SimdLevel level);
