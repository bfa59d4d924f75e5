#include "window/kernel/window_table.h"

#include "window/kernel/ui_thread.h"

#include <array>

namespace {

// The process-wide lock: serialises the slot table, the record list, the
// default window and the thread records.
std::mutex g_layer_lock;
// The slot table owns the live windows' records (with the widgets, which
// keep theirs until the toolkit deletes them).
std::array<WindowRef, kMaxWindows> g_slots{};
std::weak_ptr<ChildWindow> g_default;
// Bumped at frame shutdown: thread records of an older frame start afresh.
int g_generation = 0;
// Makes the default window's widgets; installed by the frame's user interface.
std::atomic<WindowCreator> g_creator{nullptr};

// The per-thread record and the frame generation it belongs to.
struct ThreadSlot {
    ThreadContext context;
    int generation = -1;
};
thread_local ThreadSlot t_slot;

bool usable(const ChildWindow* cw) {
    return cw && !cw->destroyed.load() && !cw->closed.load();
}

// On the interface thread, with g_layer_lock NOT held.
WindowRef create_default_on_ui() {
    {
        std::lock_guard<std::mutex> hold(g_layer_lock);
        WindowRef d = g_default.lock();
        if (usable(d.get())) return d;
    }
    int slot = -1;
    {
        std::lock_guard<std::mutex> hold(g_layer_lock);
        for (int i = 0; i < kMaxWindows && slot < 0; ++i)
            if (!g_slots[i]) slot = i;
    }
    if (slot < 0) return nullptr;
    WindowCreator create = g_creator.load();
    ChildWindow* cw = create ? create("Graphic " + std::to_string(slot + 1), 0, false) : nullptr;
    if (!cw) return nullptr;
    WindowRef ref = cw->shared_from_this();
    std::lock_guard<std::mutex> hold(g_layer_lock);
    g_default = ref;
    return ref;
}

} // namespace

ThreadContext& thread_context() {
    std::lock_guard<std::mutex> hold(g_layer_lock);
    if (t_slot.generation != g_generation) {
        t_slot.context = ThreadContext{};
        t_slot.generation = g_generation;
        t_slot.context.registered = true;
    }
    return t_slot.context;
}

WindowRef default_window_ref() {
    WindowRef cw;
    run_on_ui([&] { cw = create_default_on_ui(); });
    return cw;
}

ChildWindow* default_window() {
    return default_window_ref().get();
}

void set_default_window(ChildWindow* cw) {
    std::lock_guard<std::mutex> hold(g_layer_lock);
    g_default = weak_window(cw);
}

WindowRef current_window_ref() {
    ThreadContext& ctx = thread_context();
    WindowRef cw = ctx.current.lock();
    // A window removed by another thread is no longer anybody's current window.
    if (cw && !cw->destroyed.load()) return cw;
    cw = default_window_ref();
    ctx.current = cw;
    return cw;
}

ChildWindow* current_window() {
    return current_window_ref().get();
}

bool is_current_window(const ChildWindow* cw) {
    return thread_context().current.lock().get() == cw;
}

void set_current_window(ChildWindow* cw) {
    thread_context().current = weak_window(cw);
}

std::weak_ptr<ChildWindow> weak_window(ChildWindow* cw) {
    return cw ? cw->weak_from_this() : std::weak_ptr<ChildWindow>();
}

WindowRef window_ref_for_unit(int unit) {
    if (unit == 0) return default_window_ref();
    std::lock_guard<std::mutex> hold(g_layer_lock);
    for (const WindowRef& cw : g_slots)
        // Also when it was made the default window: it is still the unit's.
        if (cw && cw->unit == unit && !cw->closed.load()) return cw;
    return nullptr;
}

ChildWindow* window_for_unit(int unit) {
    return window_ref_for_unit(unit).get();
}

ChildWindow* window_for_handle(int handle) {
    const int slot = handle - kFirstHandle;
    if (slot < 0 || slot >= kMaxWindows) return nullptr;
    std::lock_guard<std::mutex> hold(g_layer_lock);
    return g_slots[slot].get();
}

ChildWindow* window_for_sub(const QMdiSubWindow* sub) {
    if (!sub) return nullptr;
    std::lock_guard<std::mutex> hold(g_layer_lock);
    for (const WindowRef& cw : g_slots)
        if (cw && cw->sub == sub) return cw.get();
    return nullptr;
}

int window_count() {
    std::lock_guard<std::mutex> hold(g_layer_lock);
    int n = 0;
    for (const WindowRef& cw : g_slots)
        n += cw ? 1 : 0;
    return n;
}

void set_window_creator(WindowCreator creator) {
    g_creator.store(creator);
}

WindowRef claim_window_slot(const std::string& title, int unit, bool delete_on_close) {
    std::lock_guard<std::mutex> hold(g_layer_lock);
    int slot = -1;
    for (int i = 0; i < kMaxWindows && slot < 0; ++i)
        if (!g_slots[i]) slot = i;
    if (slot < 0) return nullptr;
    // Not make_shared: the memory of a removed window must go with its
    // last owner, not wait for the last weak reference.
    WindowRef record(new ChildWindow);
    record->slot = slot;
    record->unit = unit;
    record->title = title;
    record->delete_on_close = delete_on_close;
    g_slots[slot] = record;
    return record;
}

void release_window_slot(ChildWindow* cw) {
    std::lock_guard<std::mutex> hold(g_layer_lock);
    if (cw->slot >= 0 && g_slots[cw->slot].get() == cw) g_slots[cw->slot].reset();
    if (g_default.lock().get() == cw) g_default.reset();
    cw->destroyed.store(true);
}

WindowRef window_in_slot(int slot) {
    if (slot < 0 || slot >= kMaxWindows) return nullptr;
    std::lock_guard<std::mutex> hold(g_layer_lock);
    return g_slots[slot];
}

void forget_window_table() {
    std::lock_guard<std::mutex> hold(g_layer_lock);
    g_default.reset();
    ++g_generation;
    t_slot.generation = -1;
}
