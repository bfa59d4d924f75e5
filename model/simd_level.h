// Which build of the Lorentzian density's lane rules (model/lorentz_lanes.h) runs: the portable
// baseline code, or a build for the AVX2 or AVX-512 instructions of the processor the program
// runs on. Any thread: the
// choice is one atomic value, made once and changed only by tests and benchmarks.
#pragma once

// Builds of the lane rules, in increasing order of the instructions they need. Every build does
// the same operations in the same order, contracting nothing into fused multiply-adds, so all
// give the same bits; the AVX2 and AVX-512 builds replace the divisions by the integrand's scale
// with a sequence of fused multiply-adds proven to give the correctly rounded quotient.
enum SimdLevel {
    kSimdBaseline = 0, // the target's default instructions (SSE2 on x86-64)
    kSimdAvx2 = 1,     // 256-bit vectors and fused multiply-adds (AVX2 and FMA)
    kSimdAvx512 = 2    // 512-bit vectors (AVX-512F)
};

// Name of the environment variable that caps the build: "baseline" runs the baseline build even
// where the processor offers more, "avx2" at most the AVX2 build; any other value, or none,
// leaves the choice to the processor.
constexpr const char* kSimdEnvironmentVariable = "HYSTERESIS_SIMD";

// True when this processor (and its operating system) can run the build of `level`; the
// baseline is always supported, the AVX2 build only on x86-64 processors that have AVX2 and FMA,
// the AVX-512 build only on those that also have AVX-512F.
bool simd_level_supported(SimdLevel level);

// The level chosen for this processor when the environment variable holds `cap` (null when it
// is unset): the fastest supported build, or the baseline when cap is "baseline".
SimdLevel simd_level_for(const char* cap);

// The level in use. Decided on first use from the processor and kSimdEnvironmentVariable.
SimdLevel simd_level();

// Makes `level` the level in use when it is supported and returns true; otherwise changes
// nothing and returns false. For tests and benchmarks that compare the builds.
bool set_simd_level(SimdLevel level);
