// A test of the shell that leaves the application as start-up left it: no workspace, the menus
// of start-up, and the model's parameters as they were.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

  private:
    double Hc_ = 0, Kmax_ = 0, Smem_ = 0, Amem_ = 0;
    int32_t Ncyc_ = 0;
};

// A shell test that starts with the workspace open (Hc as start-up set it).
class WorkspaceShellTest : public ShellTest {
  protected:
    void SetUp() override;
};
