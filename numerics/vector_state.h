// Keeps the calling thread's vector registers in the state in which scalar SSE arithmetic runs at
// full speed. Any thread: it touches only the calling thread's registers.
#pragma once

// Clears the upper halves of the 256-bit AVX registers (VZEROUPPER) when the processor and the
// operating system support AVX; does nothing elsewhere. Code that leaves those halves in use
// (some toolkit routines return without clearing them, e.g. a hash that uses 256-bit AES
// instructions) makes every later legacy-SSE instruction wait on the upper half it merges: the
// quadrature then runs about 3.5 times slower with the same instructions and the same results.
// Lower halves, and so every double held in a register, are left unchanged.
void clear_upper_vector_state();

// True when the processor and the operating system support AVX: the check that lets
// clear_upper_vector_state run VZEROUPPER. Code that runs AVX instructions of its own (tests,
// benchmarks) asks it first; they fault on a processor without AVX.
bool avx_supported();

// True when the calling thread's upper AVX halves are marked in use (XINUSE bit 2); false when
// they are clean or the processor cannot tell. For checks and benchmarks, not for control flow.
bool upper_vector_state_in_use();
