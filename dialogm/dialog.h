// Modal dialogs built from the dialog templates among the program's resources, with one value
// record per control and event callbacks. Interface thread only: callbacks run there; dlg_modal
// called from another thread is forwarded to it and waits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Dialog;

// A routine bound to a control event or to the dialog's creation: the dialog, the id of the
// control (the template id for the dialog callback) and the event selector that fired
// (sel_clicked, sel_change, ...; 0 for the dialog callback).
using DialogCallback = void (*)(Dialog& dialog, int32_t& control_id, int32_t& event);

// Kind of a control record, fixed by the template item's class and style.
enum ControlKind : int32_t {
    kKindStatic = 1,      // STATIC
    kKindGroupBox = 2,    // BUTTON, style 7
    kKindPushButton = 3,  // BUTTON, style 0 or 1
    kKindCheckBox = 4,    // BUTTON, style 3
    kKindRadioButton = 5, // BUTTON, style 4, 5, 6 or 9
    kKindEdit = 6,        // EDIT, single line
    kKindScrollBar = 7,   // SCROLLBAR
    kKindListBox = 8,     // LISTBOX
    kKindComboBox = 9,    // COMBOBOX with an edit field
    kKindDropDown = 10,   // COMBOBOX with style bits 0-1 equal to 3
};

// Which value or event of a control an operation addresses. Positive values
// address single list items (1 is the first) of the list kinds 8-10.
enum Selector : int32_t {
    sel_default = -1,     // the kind's natural value or event
    sel_text = -2,        // text of kinds 1-5
    sel_enable = -3,      // enabled state, every kind
    sel_clicked = -4,     // click event, kinds 3-5
    sel_state = -5,       // checked state of kinds 4-5; text of kind 6; selected text of 8-10
    sel_change = -6,      // change event, kinds 6-7 (and the combo box's edit change)
    sel_update = -7,      // update event, kind 6 (and the combo box's edit update)
    sel_position = -8,    // scroll bar position; selected item number of kinds 8-10 (0: none)
    sel_range = -9,       // scroll bar range (largest position)
    sel_selchange = -10,  // selection change event, kinds 8-10
    sel_small_step = -11, // scroll bar line step
    sel_big_step = -12,   // scroll bar page step
    sel_num_items = -13,  // number of list items of kinds 8-10 (read only)
    sel_dblclick = -14,   // double click event, kinds 8-10
};

// Id of a dialog's OK push button, and what dlg_modal returns when OK ends the dialog.
constexpr int32_t kDialogOk = 1;
// Id of a dialog's Cancel push button, and what dlg_modal returns when Cancel ends the dialog.
constexpr int32_t kDialogCancel = 2;

// Length of every text value: texts are blank-padded (or truncated) to this many characters.
constexpr int32_t kDialogTextLength = 256;

// Values and event routines of one template item of a supported class.
struct DialogControl {
    int32_t kind = 0;           // ControlKind
    int32_t id = 0;             // the item's 16-bit id (65535 stays 65535)
    bool dirty = true;          // the record must still be written to the window
    bool duplicate = false;     // another control has the same id: not addressable
    std::vector<int32_t> ints;  // integer values (scroll bar: position, range, small and big step;
                                // radio button: indices of its group's first and last control;
                                // list kinds: selected item number, and for 8 and 10 the count)
    std::vector<bool> logicals; // [0] enabled; [1] checked (kinds 4-5)
    std::vector<std::string> texts;        // each exactly kDialogTextLength characters; list
                                           // kinds: [0] selected or typed text, [1..] the items
    std::vector<DialogCallback> callbacks; // per event of the kind; null does nothing
};

// One dialog in use, from dlg_init to dlg_uninit.
struct Dialog {
    int32_t template_id = 0;    // resource id of the dialog template
    void* window = nullptr;     // the live dialog window; null while not shown
    int32_t return_value = 1;   // what dlg_modal returns
    bool dirty = false;         // some control record differs from the window
    bool in_update = false;     // the layer is writing into the window: notifications ignored
    bool selection_gate = true; // cleared while a combo box's selection callback runs
    DialogCallback dialog_callback = nullptr; // called once the window exists; null does nothing
    std::vector<DialogControl> controls;      // template order; position = control index
};

// Builds the records from template template_id. False if the template is missing or does not
// read as a dialog template. An item of an unsupported style writes "Invalid style ..." to the
// standard output unit and stops the program (false if the stop returns).
bool dlg_init(Dialog& dialog, int32_t template_id);

// Sets a text (length characters of text, stored blank-padded or truncated to
// kDialogTextLength), a logical or an integer. False (and nothing changed) for an unknown or
// duplicate id or a selector that does not fit the control's kind.
bool dlg_set(Dialog& dialog, int32_t control_id, const char* text, int32_t length,
             int32_t selector = sel_default);
bool dlg_set(Dialog& dialog, int32_t control_id, bool value, int32_t selector = sel_default);
bool dlg_set(Dialog& dialog, int32_t control_id, int32_t value, int32_t selector = sel_default);

// Reads a value; while the dialog is shown the control is read from the window first unless it
// holds an unwritten change. A text is delivered as exactly length characters (the first length
// characters of the field, blank-padded beyond it; no terminating zero).
bool dlg_get(Dialog& dialog, int32_t control_id, char* text, int32_t length,
             int32_t selector = sel_default);
bool dlg_get(Dialog& dialog, int32_t control_id, bool& value, int32_t selector = sel_default);
bool dlg_get(Dialog& dialog, int32_t control_id, int32_t& value, int32_t selector = sel_default);

// Binds routine (null: do nothing) to an event of a control; with the dialog's template id as
// control_id it becomes the dialog callback. False while the dialog is shown.
bool dlg_set_callback(Dialog& dialog, int32_t control_id, DialogCallback routine,
                      int32_t selector = sel_default);

// Shows the dialog modally over the current dialog or the frame and returns its return value
// when it has ended; -1 if the window cannot be created.
int32_t dlg_modal(Dialog& dialog);

// Reads every control back from the window and ends the shown dialog; false when not shown.
bool dlg_exit(Dialog& dialog);

// Sets what dlg_modal returns.
bool dlg_set_return(Dialog& dialog, int32_t value);

// Releases the control records. False (nothing released) while the dialog is shown.
bool dlg_uninit(Dialog& dialog);
