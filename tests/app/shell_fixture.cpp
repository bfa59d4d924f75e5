// Set-up and tear-down that return the shell to its start-up state between tests.
#include "shell_fixture.h"

#include "model/density_lorentz.h"

#include "app/menu_callbacks.h"
#include "app/menu_state.h"
#include "model/model_state.h"
#include "shell_driver.h"
#include "window/kernel/menus.h"
#include "window/kernel/units.h"

void ShellTest::SetUp() {
    Hc_ = g_model.density.parameter[kLorentzHc];
    Kmax_ = g_model.density.norm;
    Smem_ = g_model.Smem;
    Amem_ = g_model.Amem;
    Ncyc_ = g_model.Ncyc;
}

void ShellTest::TearDown() {
    // The next test starts without a curve to lose: closing asks nothing.
    g_menu_state.unsaved = false;
    close_workspace();
    update_menus();
    g_model.density.parameter[kLorentzHc] = Hc_;
    g_model.density.norm = Kmax_;
    g_model.Smem = Smem_;
    g_model.Amem = Amem_;
    g_model.Ncyc = Ncyc_;
    g_model.CycleMode = 0;
}

void WorkspaceShellTest::SetUp() {
    ShellTest::SetUp();
    open_workspace_with_ok();
    ASSERT_NE(window_handle_for_unit(10), 0);
}
