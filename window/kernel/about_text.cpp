#include "window/kernel/about_text.h"

#include "window/kernel/frame.h"
#include "window/kernel/ui_thread.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace {

constexpr size_t kAboutLimit = 512;

std::string g_about; // the program's About text; empty: the layer's banner. Interface thread.

std::string banner() {
    return frame_title() +
           "\rA multiple-document frame for the program's text and graphics windows.";
}

} // namespace

const char* about_text_in_force() {
    static std::string shown;
    shown = g_about.empty() ? banner() : g_about;
    return shown.c_str();
}

int set_about_text(const char* text) {
    if (!text || std::strlen(text) > kAboutLimit) return -1;
    int result = -1;
    run_on_ui([&] {
        try {
            g_about = text;
            result = 0;
        } catch (const std::bad_alloc&) {
            result = -1;
        }
    });
    return result;
}

int about_text(char* buf, int size) {
    std::string text;
    run_on_ui([&] { text = about_text_in_force(); });
    if (buf && size > 0) {
        const size_t n = std::min(static_cast<size_t>(size - 1), text.size());
        std::memcpy(buf, text.data(), n);
        buf[n] = '\0';
    }
    return static_cast<int>(text.size());
}
