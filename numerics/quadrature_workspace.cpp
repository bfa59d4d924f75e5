// Obtaining and releasing DTWODQ's work arrays.
#include "numerics/quadrature_workspace.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

// The default allocator keeps the blocks a call gives back for the next call on the thread:
// DTWODQ asks for the same seven sizes every time, and a curve makes thousands of calls. Each
// block carries its size in front of it. The cache holds at most kCachedBlocks blocks and frees
// them when the thread ends.
constexpr int kCachedBlocks = 8;
constexpr std::size_t kHeader = alignof(std::max_align_t);

struct BlockCache {
    void* block[kCachedBlocks]; // the blocks given back, each after its header
    int count = 0;              // blocks in use of block[]

    ~BlockCache() {
        for (int i = 0; i < count; ++i)
            std::free(static_cast<char*>(block[i]) - kHeader);
    }
};
thread_local BlockCache cache;

std::size_t block_bytes(void* p) {
    std::size_t bytes;
    std::memcpy(&bytes, static_cast<char*>(p) - kHeader, sizeof bytes);
    return bytes;
}

void* cached_allocate(std::size_t bytes) {
    for (int i = cache.count - 1; i >= 0; --i)
        if (block_bytes(cache.block[i]) == bytes) {
            void* p = cache.block[i];
            cache.block[i] = cache.block[--cache.count];
            return p;
        }
    char* base = static_cast<char*>(std::malloc(kHeader + bytes));
    if (base == nullptr) return nullptr;
    std::memcpy(base, &bytes, sizeof bytes);
    return base + kHeader;
}

void cached_release(void* p) {
    if (cache.count < kCachedBlocks)
        cache.block[cache.count++] = p;
    else
        std::free(static_cast<char*>(p) - kHeader);
}

WorkAllocate allocate_fn = cached_allocate;
WorkRelease release_fn = cached_release;

template <class T> T* request(std::size_t count) {
    return static_cast<T*>(allocate_fn(count * sizeof(T)));
}
template <class T> void give_back(T*& p) {
    if (p) release_fn(p);
    p = nullptr;
}
} // namespace

bool obtain_workspace(QuadratureWorkspace& ws) {
    ws.xleft = request<double>(kDtwodqMaxsub);
    ws.xright = request<double>(kDtwodqMaxsub);
    ws.suberr = request<double>(kDtwodqMaxsub);
    ws.subres = request<double>(kDtwodqMaxsub);
    ws.work = request<double>(4 * kDtwodqMaxsub);
    ws.iorder = request<int>(kDtwodqMaxsub);
    ws.iwork = request<int>(kDtwodqMaxsub);
    return ws.xleft && ws.xright && ws.suberr && ws.subres && ws.work && ws.iorder && ws.iwork;
}

void release_workspace(QuadratureWorkspace& ws) {
    give_back(ws.xleft);
    give_back(ws.xright);
    give_back(ws.suberr);
    give_back(ws.subres);
    give_back(ws.work);
    give_back(ws.iorder);
    give_back(ws.iwork);
}

void set_work_allocator(WorkAllocate allocate, WorkRelease release) {
    allocate_fn = allocate ? allocate : cached_allocate;
    release_fn = release ? release : cached_release;
}
