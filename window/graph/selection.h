// Select Text/Graphics/All, Copy, Paste and Clear Paste on a window, and the marks drawn over its
// view (private; Qt types). Interface thread only.
#pragma once

#include <QImage>
#include <string>

class QPainter;
struct ChildWindow;

// Runs an Edit or Window command on the active window: 1001 Select Text,
// 1002 Select Graphics, 1003 Select All, 1004 Copy, 1021 Paste, 1022 Clear
// Paste, 1019 Print, 1020 Save; 0 ends a selection in progress (Esc).
void run_graph_command(ChildWindow* cw, int id);

// Offers a mouse event to a selection in progress; true when it was consumed
// (left press, left release and moves while selecting).
bool selection_mouse(ChildWindow* cw, int code, int client_x, int client_y);

// What Copy would put on the clipboard: the selected text (empty when the
// selection is not text) or the selected picture (null when not graphics).
std::string selected_text(ChildWindow* cw);
QImage selected_picture(ChildWindow* cw);

// Draws the selection mark and the caret; painter in surface pixels, cw->lock held.
void paint_window_marks(ChildWindow* cw, QPainter* painter);
