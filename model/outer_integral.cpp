// The workspaces of the outer rule.
#include "model/outer_integral.h"

#include <gsl/gsl_errno.h>

namespace {

// Frees a thread's workspace when the thread ends.
struct Workspace {
    gsl_integration_workspace* w = nullptr;
    ~Workspace() {
        if (w) gsl_integration_workspace_free(w);
    }
};

} // namespace

gsl_integration_workspace* outer_workspace() {
    static const bool handler_off = (gsl_set_error_handler_off(), true);
    (void)handler_off;
    thread_local Workspace workspace;
    if (!workspace.w) workspace.w = gsl_integration_workspace_alloc(kOuterIntervals);
    return workspace.w;
}
