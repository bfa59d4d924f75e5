// Command ids of the frame's menus: the standard commands and the first id of the program's own.
// Constants only; any thread.
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
