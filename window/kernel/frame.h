// The frame window: MDI client area, menu bar and status bar; private to the window layer.
// Interface thread only.
#pragma once

#include <QMainWindow>
#include <QMdiSubWindow>
#include <string>

class QLabel;
class QMdiArea;

// The program's one frame window.
class Frame : public QMainWindow {
    Q_OBJECT
  public:
    explicit Frame(const QString& title);

    QMdiArea* mdi = nullptr;         // client area holding the child windows
    QLabel* state_label = nullptr;   // status bar: program state word
    QLabel* message_label = nullptr; // status bar: message field
    bool shutting_down = false;      // set while the frame is being destroyed

  protected:
    void closeEvent(QCloseEvent* event) override;
};

// The frame, or null before start-up / after shutdown.
Frame* frame();

// The program's name as set at start-up.
const std::string& frame_title();

// Creates the frame titled name (not shown yet); null if one exists.
Frame* create_frame(const char* name);

// Deletes the frame (the windows and menus must be gone already).
void delete_frame();

// Shows a program state's word in the status bar; the program state's observer.
void show_program_state(int state);

// The full-screen view, while one exists (null: none); dialog_owner prefers it while it is shown.
void set_full_screen_view(QWidget* view);

// The window that owns modal boxes and dialogs: the full-screen view while
// one is shown (a box owned by the frame would open hidden behind it), else
// the frame; null when there is neither.
QWidget* dialog_owner();
