// Clearing the upper halves of the AVX registers where the processor has them.
#include "numerics/vector_state.h"

#if defined(__GNUC__) && defined(__x86_64__)
#include <cpuid.h>

namespace {

// Decided once: VZEROUPPER faults on a processor without AVX, and XGETBV with ECX = 1 needs its
// own feature bit. libgcc's AVX test also checks that the system saves the AVX state.
struct VectorFeatures {
    bool avx;    // VZEROUPPER may run
    bool xinuse; // XGETBV(1) reports which state components are in use
};

VectorFeatures detect() {
    __builtin_cpu_init();
    VectorFeatures f{__builtin_cpu_supports("avx") != 0, false};
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (f.avx && __get_cpuid_count(0x0d, 1, &a, &b, &c, &d)) f.xinuse = (a & (1u << 2)) != 0;
    return f;
}

const VectorFeatures& features() {
    static const VectorFeatures f = detect();
    return f;
}

} // namespace

void clear_upper_vector_state() {
    // The clobbers keep a compiler that does use AVX from holding a 256-bit value across it.
    if (features().avx)
        __asm__ volatile("vzeroupper" ::
                             : "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7",
                               "xmm8", "xmm9", "xmm10", "xmm11", "xmm12", "xmm13", "xmm14",
                               "xmm15");
}

bool avx_supported() {
    return features().avx;
}

bool upper_vector_state_in_use() {
    if (!features().xinuse) return false;
    unsigned lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(1));
    return (lo & (1u << 2)) != 0;
}

#else

// No AVX registers to clear on this target.
void clear_upper_vector_state() {}

bool avx_supported() {
    return false;
}

bool upper_vector_state_in_use() {
    return false;
}

#endif
