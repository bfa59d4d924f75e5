// Drives the application shell headless: its start-up on a program thread, and its modal dialogs
// from inside their loops. Interface thread (the test's main thread) only.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

class QAbstractButton;
class QDialog;
class QLineEdit;

// Connects the seams and runs the start-up steps on a thread of their own, as the program
// thread does, handling the interface's events until they are done. Lines written to the
// standard output unit are recorded (see written_lines) as well as shown.
void start_application_on_program_thread();

// The records written to the standard output unit since start-up.
const std::vector<std::string>& written_lines();

// Runs action (a menu callback that shows a modal dialog) and, once the dialog is up, body
// inside its modal loop. Whatever body does, the dialog is ended (Cancel) if it is still shown
// when body returns.
void with_dialog(const std::function<void()>& action, const std::function<void(QDialog*)>& body);

// The n-th edit, push button, check box or radio button of a dialog, in template order.
QLineEdit* edit_at(QDialog* dialog, int n);
QAbstractButton* push_button_at(QDialog* dialog, int n);
QAbstractButton* check_box_at(QDialog* dialog, int n);
QAbstractButton* radio_at(QDialog* dialog, int n);

// Types text into an edit key by key, after selecting and deleting what it held.
void type_into(QLineEdit* edit, const QString& text);

// Replaces the edit's text at once (one change notification).
void set_edit_text(QLineEdit* edit, const QString& text);

// Clicks a button with the mouse (press and release inside it).
void click(QAbstractButton* button);

// The text of a control of the shown dialog, without trailing blanks, as the dialog layer reads
// it; and its enabled state.
std::string control_text(int control_id);
bool control_enabled(int control_id);
bool control_checked(int control_id);

// Opens the workspace with the Hc the dialog shows (OK at once), or closes it.
void open_workspace_with_ok();
void close_workspace();
