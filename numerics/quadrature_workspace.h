// The work arrays that DTWODQ obtains for one call and releases before it returns. Interface
// thread only (the allocator seam is one process-wide pointer).
#pragma once

#include <cstddef>

// Number of subintervals DTWODQ works with.
constexpr int kDtwodqMaxsub = 250;

// The seven arrays of one call; a null pointer is a request that failed.
struct QuadratureWorkspace {
    double* xleft;  // kDtwodqMaxsub left ends of the outer subintervals
    double* xright; // kDtwodqMaxsub right ends of the outer subintervals
    double* suberr; // kDtwodqMaxsub outer error estimates
    double* subres; // kDtwodqMaxsub outer subinterval integrals
    double* work;   // 4*kDtwodqMaxsub: the inner lists
    int* iorder;    // kDtwodqMaxsub outer ordering
    int* iwork;     // kDtwodqMaxsub inner ordering
};

// Makes all seven requests, even after a failed one. Returns true when all succeeded.
bool obtain_workspace(QuadratureWorkspace& ws);

// Releases every array whose request succeeded and nulls the pointers.
void release_workspace(QuadratureWorkspace& ws);

// Obtains and releases storage: the default is the C library's malloc/free behind a small cache
// per thread of the blocks given back. Tests install a failing allocator to reach the storage
// message; null restores the default.
using WorkAllocate = void* (*)(std::size_t bytes);
using WorkRelease = void (*)(void* block);
void set_work_allocator(WorkAllocate allocate, WorkRelease release);
