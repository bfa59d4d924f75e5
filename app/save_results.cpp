// "Save results...": the drawn curve written to a CSV file chosen by the user; the question before
// an unsaved curve is lost.
#include "app/save_results.h"

#include "app/menu_callbacks.h"
#include "app/menu_state.h"

#include "model/curve_csv.h"
#include "model/model_state.h"
#include "window/graph/file_save.h"
#include "window/kernel/message_box.h"
#include "window/kernel/window_program.h"

#include <cstdio>
#include <string>

// "Save results...": the drawn curve as a CSV file (see model/curve_csv.h
// for the format). The file is written under a temporary name and renamed,
// so a failure never leaves a partial file or spoils an older one; it is
// reported in a message box and the program goes on.
bool save_results() {
    static const SaveFilter filters[] = {{"CSV Files(*.csv)", "*.csv"}, {"All Files(*.*)", "*.*"}};
    char path[4096];
    if (ask_save_file_name("Save results", filters, 2, "csv", path, sizeof path) != 1) return false;

    std::string csv;
    format_curve_csv(g_model, csv);
    char reason[512];
    if (write_file_safely(path, csv.data(), static_cast<int64_t>(csv.size()), reason,
                          sizeof reason)) {
        g_menu_state.unsaved = false;
        return true;
    }
    std::string text = "The results could not be saved to ";
    text += path;
    text += ": ";
    text += reason;
    message_box(text.c_str(), program_name(), kBoxOk | kBoxIconError);
    return false;
}

void on_save_results(int32_t& state) {
    (void)state;
    save_results();
}

bool may_lose_curve(const char* what) {
    if (!g_menu_state.unsaved || g_menu_state.workspace != WorkspacePhase::open) return true;
    std::string text = "The curve has not been saved.\rSave results ";
    text += what;
    text += "?";
    switch (ask_question(text.c_str(), program_name(), "&Save results...", "&Discard")) {
    case kAnswerYes:
        return save_results();
    case kAnswerNo:
        return true;
    default:
        return false;
    }
}

bool confirm_program_end() {
    return may_lose_curve("before the program ends");
}
