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
    ws.xleft = request<double>(DTWODQ_MAXSUB);
    ws.xright = request<double>(DTWODQ_MAXSUB);
    ws.suberr = request<double>(DTWODQ_MAXSUB);
    ws.subres = request<double>(DTWODQ_MAXSUB);
    ws.work = request<double>(4 * DTWODQ_MAXSUB);
    ws.iorder = request<int>(DTWODQ_MAXSUB);
    ws.iwork = request<int>(DTWODQ_MAXSUB);
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
