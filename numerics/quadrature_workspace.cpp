// Obtaining and releasing DTWODQ's work arrays.
#include "numerics/quadrature_workspace.h"

#include <cstdlib>

namespace {
WorkAllocate allocate_fn = std::malloc;
WorkRelease release_fn = std::free;

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
    allocate_fn = allocate ? allocate : std::malloc;
    release_fn = release ? release : std::free;
}
