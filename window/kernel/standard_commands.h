// The standard commands of the frame (ids 1000 to 1023); private to the window layer.
// Interface thread only.
#pragma once

// Command ids of the standard commands.
enum StandardCommand {
    kCmdExit = 1000,
    kCmdSelectText = 1001,
    kCmdSelectGraphics = 1002,
    kCmdSelectAll = 1003,
    kCmdCopy = 1004,
    kCmdSizeToFit = 1006,
    kCmdFullScreen = 1007,
    kCmdPause = 1008,
    kCmdResume = 1009,
    kCmdCascade = 1010,
    kCmdTile = 1011,
    kCmdArrangeIcons = 1012,
    kCmdStatusBar = 1015,
    kCmdHelpContents = 1016,
    kCmdHelpUsing = 1017,
    kCmdAbout = 1018,
    kCmdPrint = 1019,
    kCmdSave = 1020,
    kCmdPaste = 1021,
    kCmdClearPaste = 1022,
    kCmdInput = 1023,
};

// First command id given to the program's own routines.
constexpr int kFirstProgramId = 1101;

// Runs a standard command; other ids do nothing.
void run_standard_command(int id);

// Pause and Resume: each does nothing unless the program is running / paused.
void pause_program();
void resume_program();

struct ChildWindow;

// Marks cw as the window with typed input pending (enables "&Input" and shows
// "Input pending in <title>"); null ends it. Any thread; from another thread
// the change is queued and the caller does not wait.
void set_input_pending_window(ChildWindow* cw);
