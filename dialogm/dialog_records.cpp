// Building the control records from a template and the value operations on them.
#include "dialogm/dialog.h"
#include "dialogm/dialog_template.h"
#include "dialogm/dialog_window.h"
#include "dialogm/template_store.h"

#include "text/output_unit.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Ends the dialog, returning the button's id: the default routine of every push button.
void default_button(Dialog& dialog, int32_t& control_id, int32_t& /*event*/) {
    dlg_set_return(dialog, control_id);
    dlg_exit(dialog);
}

std::string padded(const char* text, size_t length) {
    std::string s(kDialogTextLength, ' ');
    if (text) std::memcpy(&s[0], text, std::min<size_t>(length, kDialogTextLength));
    return s;
}

// A rejected style: its name, or null when the item is acceptable.
const char* rejected_style(uint16_t atom, uint32_t style) {
    switch (atom) {
    case atom_button:
        switch (style & 0xF) {
        case 11:
            return "BS_OWNERDRAW";
        case 8:
            return "BS_USERBUTTON";
        case 2:
        case 10:
        case 12:
        case 13:
        case 14:
        case 15:
            return "<unknown>";
        default:
            return nullptr;
        }
    case atom_edit:
        return (style & 0x4) ? "ES_MULTILINE" : nullptr;
    case atom_list_box:
        if (style & 0x10) return "LBS_OWNERDRAWFIXED";
        if (style & 0x20) return "LBS_OWNERDRAWVARIABLE";
        return nullptr;
    case atom_combo_box:
        if (style & 0x10) return "CBS_OWNERDRAWFIXED";
        if (style & 0x20) return "CBS_OWNERDRAWVARIABLE";
        return nullptr;
    default:
        return nullptr;
    }
}

// The kind of an item of a supported class, or 0 for an item that gets no record.
int32_t kind_of(uint16_t atom, uint32_t style) {
    switch (atom) {
    case atom_button:
        switch (style & 0xF) {
        case 0:
        case 1:
            return kKindPushButton;
        case 3:
            return kKindCheckBox;
        case 4:
        case 5:
        case 6:
        case 9:
            return kKindRadioButton;
        case 7:
            return kKindGroupBox;
        default:
            return 0;
        }
    case atom_edit:
        return kKindEdit;
    case atom_static:
        return kKindStatic;
    case atom_list_box:
        return kKindListBox;
    case atom_scroll_bar:
        return kKindScrollBar;
    case atom_combo_box:
        return (style & 3) == 3 ? kKindDropDown : kKindComboBox;
    default:
        return 0;
    }
}

bool is_auto_radio(const TemplateItem& it) {
    return it.class_atom == atom_button && (it.style & 0xF) == 9;
}

// A fresh record of a kind with the values its kind starts with.
DialogControl make_control(int32_t kind, const TemplateItem& item) {
    DialogControl c;
    c.kind = kind;
    c.id = item.id;
    c.dirty = true;
    c.logicals = {true};
    switch (kind) {
    case kKindStatic:
    case kKindGroupBox:
    case kKindEdit:
        c.texts = {padded(item.title.data(), item.title.size())};
        if (kind == kKindEdit) c.callbacks = {nullptr, nullptr};
        break;
    case kKindPushButton:
        c.texts = {padded(item.title.data(), item.title.size())};
        c.callbacks = {default_button};
        break;
    case kKindCheckBox:
    case kKindRadioButton:
        c.logicals.push_back(false);
        c.texts = {padded(item.title.data(), item.title.size())};
        c.callbacks = {nullptr};
        if (kind == kKindRadioButton) c.ints = {0, 0};
        break;
    case kKindScrollBar:
        c.ints = {0, 100, 1, 10};
        c.callbacks = {nullptr};
        break;
    case kKindListBox:
    case kKindDropDown:
        c.ints = {0, 0};
        c.texts = {padded(nullptr, 0)};
        c.callbacks = {nullptr, nullptr};
        break;
    case kKindComboBox:
        c.ints = {0};
        c.texts = {padded(item.title.data(), item.title.size())};
        c.callbacks = {nullptr, nullptr, nullptr, nullptr};
        break;
    }
    return c;
}

// Writes "Invalid style <name> used for control <id>" (the id left-adjusted in a field of 20)
// to the standard output unit.
void report_invalid_style(const char* name, uint16_t id) {
    char number[32];
    std::snprintf(number, sizeof number, "%-20d", static_cast<int>(id));
    std::string line = std::string("Invalid style ") + name + " used for control " + number;
    emit_line(6, line.c_str(), static_cast<int>(line.size()));
}

bool is_list_kind(int32_t kind) {
    return kind == kKindListBox || kind == kKindComboBox || kind == kKindDropDown;
}

// Index of the addressable control with this id, or -1 (unknown or duplicate id).
int addressable(const Dialog& dialog, int32_t id) {
    int i = find_control_index(dialog, id);
    if (i < 0 || dialog.controls[static_cast<size_t>(i)].duplicate) return -1;
    return i;
}

// Slot of the text a selector addresses, -1 if it does not fit. For the list kinds a positive
// selector addresses item number selector; for setting, one past the last item appends.
int text_slot(const DialogControl& c, int32_t sel, bool for_set) {
    if (is_list_kind(c.kind)) {
        if (sel == sel_default || sel == sel_state) return 0;
        int items = static_cast<int>(c.texts.size()) - 1;
        if (sel > 0 && (sel <= items || (for_set && sel == items + 1))) return sel;
        return -1;
    }
    if (sel == sel_default && c.kind >= kKindStatic && c.kind <= kKindEdit) return 0;
    if (sel == sel_text && c.kind >= kKindStatic && c.kind <= kKindRadioButton) return 0;
    if (sel == sel_state && c.kind == kKindEdit) return 0;
    return -1;
}

int logical_slot(const DialogControl& c, int32_t sel) {
    bool checkable = c.kind == kKindCheckBox || c.kind == kKindRadioButton;
    if (sel == sel_enable) return 0;
    if (sel == sel_default) return checkable ? 1 : 0;
    if (sel == sel_state && checkable) return 1;
    return -1;
}

// Slot of an integer value; -2 for the item count of the list kinds (read only), -1 if the
// selector does not fit.
int int_slot(const DialogControl& c, int32_t sel) {
    if (c.kind == kKindScrollBar) {
        switch (sel) {
        case sel_position:
            return 0;
        case sel_range:
            return 1;
        case sel_small_step:
            return 2;
        case sel_big_step:
            return 3;
        default:
            return -1;
        }
    }
    if (is_list_kind(c.kind)) {
        if (sel == sel_position) return 0;
        if (sel == sel_num_items) return -2;
    }
    return -1;
}

// Brings an addressable control up to date before it is read or changed while shown.
void refresh(Dialog& dialog, DialogControl& c) {
    if (dialog.window && !c.dirty) window_read_control(dialog, c);
}

void mark(Dialog& dialog, DialogControl& c) {
    if (!dialog.window) return;
    c.dirty = true;
    dialog.dirty = true;
}

// The record of a list kind keeps its item count (kinds 8 and 10) in step with the items.
void sync_count(DialogControl& c) {
    if ((c.kind == kKindListBox || c.kind == kKindDropDown) && c.ints.size() > 1)
        c.ints[1] = static_cast<int32_t>(c.texts.size()) - 1;
}

} // namespace

bool dlg_init(Dialog& dialog, int32_t template_id) {
    if (dialog.window) return false; // a shown dialog keeps its records
    dialog = Dialog{};
    dialog.template_id = template_id;
    dialog.return_value = 1;
    dialog.dirty = true;
    dialog.in_update = false;
    dialog.selection_gate = true;
    dialog.dialog_callback = nullptr;

    std::vector<unsigned char> bytes;
    DialogTemplate tmpl;
    if (!find_template(template_id, bytes) ||
        !parse_dialog_template(bytes.data(), bytes.size(), tmpl))
        return false;

    const std::vector<TemplateItem>& items = tmpl.items;
    bool group_open = false;
    size_t group_first = 0;    // control index of the open group's first button
    size_t group_end_item = 0; // template index of the item that closes the open group
    for (size_t k = 0; k < items.size(); ++k) {
        const TemplateItem& it = items[k];
        if (it.class_atom == 0) continue; // a class named by a string is not supported
        if (const char* name = rejected_style(it.class_atom, it.style)) {
            report_invalid_style(name, it.id);
            dialog.controls.clear();
            stop_run(nullptr);
            return false;
        }
        int32_t kind = kind_of(it.class_atom, it.style);
        if (kind == 0) continue;
        bool duplicate = false;
        for (DialogControl& other : dialog.controls)
            if (other.id == it.id) {
                other.duplicate = true;
                duplicate = true;
            }
        dialog.controls.push_back(make_control(kind, it));
        dialog.controls.back().duplicate = duplicate;
        if (kind != kKindRadioButton) continue;
        size_t index = dialog.controls.size() - 1;
        if (!group_open) {
            // The group runs up to the next item that begins a group; its last automatic radio
            // button closes it. A run without one (or with only this button) ends at its last
            // radio button, so that a group always closes.
            group_open = true;
            group_first = index;
            dialog.controls[index].logicals[1] = true;
            size_t stop = k + 1;
            while (stop < items.size() && !(items[stop].style & tmpl_ws_group))
                ++stop;
            group_end_item = k;
            bool found_auto = false;
            for (size_t j = k; j < stop; ++j)
                if (is_auto_radio(items[j])) {
                    group_end_item = j;
                    found_auto = true;
                }
            if (!found_auto)
                for (size_t j = k; j < stop; ++j)
                    if (kind_of(items[j].class_atom, items[j].style) == kKindRadioButton &&
                        !rejected_style(items[j].class_atom, items[j].style))
                        group_end_item = j;
        }
        if (k == group_end_item) {
            for (size_t j = group_first; j <= index; ++j)
                if (dialog.controls[j].kind == kKindRadioButton)
                    dialog.controls[j].ints = {static_cast<int32_t>(group_first),
                                               static_cast<int32_t>(index)};
            group_open = false;
        }
    }
    return true;
}

bool dlg_set(Dialog& dialog, int32_t control_id, const char* text, int32_t length,
             int32_t selector) {
    int i = addressable(dialog, control_id);
    if (i < 0 || length < 0 || (!text && length > 0)) return false;
    DialogControl& c = dialog.controls[static_cast<size_t>(i)];
    int slot = text_slot(c, selector, true);
    if (slot < 0) return false;
    refresh(dialog, c);
    slot = text_slot(c, selector, true); // the window may have changed the items
    if (slot < 0) return false;
    std::string value = padded(text, static_cast<size_t>(length));
    if (static_cast<size_t>(slot) == c.texts.size())
        c.texts.push_back(value);
    else
        c.texts[static_cast<size_t>(slot)] = value;
    sync_count(c);
    mark(dialog, c);
    return true;
}

bool dlg_set(Dialog& dialog, int32_t control_id, bool value, int32_t selector) {
    int i = addressable(dialog, control_id);
    if (i < 0) return false;
    DialogControl& c = dialog.controls[static_cast<size_t>(i)];
    int slot = logical_slot(c, selector);
    if (slot < 0) return false;
    refresh(dialog, c);
    if (slot == 1 && c.kind == kKindRadioButton) {
        // Exactly one button of a group stays checked: this one, or the group's first.
        size_t first = static_cast<size_t>(c.ints[0]), last = static_cast<size_t>(c.ints[1]);
        for (size_t j = first; j <= last && j < dialog.controls.size(); ++j) {
            DialogControl& r = dialog.controls[j];
            if (r.kind != kKindRadioButton) continue;
            refresh(dialog, r);
            r.logicals[1] = false;
            mark(dialog, r);
        }
        DialogControl& target = value ? c : dialog.controls[first];
        target.logicals[1] = true;
        mark(dialog, target);
        return true;
    }
    c.logicals[static_cast<size_t>(slot)] = value;
    mark(dialog, c);
    return true;
}

bool dlg_set(Dialog& dialog, int32_t control_id, int32_t value, int32_t selector) {
    int i = addressable(dialog, control_id);
    if (i < 0) return false;
    DialogControl& c = dialog.controls[static_cast<size_t>(i)];
    int slot = int_slot(c, selector);
    if (slot < 0) return false;
    refresh(dialog, c);
    c.ints[static_cast<size_t>(slot)] = value;
    mark(dialog, c);
    return true;
}

bool dlg_get(Dialog& dialog, int32_t control_id, char* text, int32_t length, int32_t selector) {
    int i = addressable(dialog, control_id);
    if (i < 0 || length < 0 || (!text && length > 0)) return false;
    DialogControl& c = dialog.controls[static_cast<size_t>(i)];
    // A list item number is checked against the items as the window has them.
    if (!is_list_kind(c.kind) && text_slot(c, selector, false) < 0) return false;
    refresh(dialog, c);
    int slot = text_slot(c, selector, false);
    if (slot < 0) return false;
    const std::string& s = c.texts[static_cast<size_t>(slot)];
    size_t n = std::min<size_t>(static_cast<size_t>(length), s.size());
    std::memcpy(text, s.data(), n);
    std::memset(text + n, ' ', static_cast<size_t>(length) - n);
    return true;
}

bool dlg_get(Dialog& dialog, int32_t control_id, bool& value, int32_t selector) {
    int i = addressable(dialog, control_id);
    if (i < 0) return false;
    DialogControl& c = dialog.controls[static_cast<size_t>(i)];
    int slot = logical_slot(c, selector);
    if (slot < 0) return false;
    refresh(dialog, c);
    value = c.logicals[static_cast<size_t>(slot)];
    return true;
}

bool dlg_get(Dialog& dialog, int32_t control_id, int32_t& value, int32_t selector) {
    int i = addressable(dialog, control_id);
    if (i < 0) return false;
    DialogControl& c = dialog.controls[static_cast<size_t>(i)];
    int slot = int_slot(c, selector);
    if (slot == -1) return false;
    refresh(dialog, c);
    value =
        slot == -2 ? static_cast<int32_t>(c.texts.size()) - 1 : c.ints[static_cast<size_t>(slot)];
    return true;
}

bool dlg_set_callback(Dialog& dialog, int32_t control_id, DialogCallback routine,
                      int32_t selector) {
    if (dialog.window) return false;
    if (control_id == dialog.template_id) {
        dialog.dialog_callback = routine;
        return true;
    }
    int i = addressable(dialog, control_id);
    if (i < 0) return false;
    DialogControl& c = dialog.controls[static_cast<size_t>(i)];
    int slot = -1;
    switch (c.kind) {
    case kKindPushButton:
    case kKindCheckBox:
    case kKindRadioButton:
        if (selector == sel_default || selector == sel_clicked) slot = 0;
        break;
    case kKindEdit:
        if (selector == sel_default || selector == sel_change) slot = 0;
        if (selector == sel_update) slot = 1;
        break;
    case kKindScrollBar:
        if (selector == sel_default || selector == sel_change) slot = 0;
        break;
    case kKindListBox:
    case kKindDropDown:
    case kKindComboBox:
        if (selector == sel_default || selector == sel_selchange) slot = 0;
        if (selector == sel_dblclick) slot = 1;
        if (c.kind == kKindComboBox && selector == sel_change) slot = 2;
        if (c.kind == kKindComboBox && selector == sel_update) slot = 3;
        break;
    default:
        break;
    }
    if (slot < 0) return false;
    c.callbacks[static_cast<size_t>(slot)] = routine;
    return true;
}

bool dlg_exit(Dialog& dialog) {
    if (!dialog.window) return false;
    // A control holding an unwritten change keeps it: its record is newer than the window.
    for (DialogControl& c : dialog.controls)
        if (!c.dirty) window_read_control(dialog, c);
    window_end(dialog);
    dialog.window = nullptr;
    return true;
}

bool dlg_set_return(Dialog& dialog, int32_t value) {
    dialog.return_value = value;
    return true;
}

bool dlg_uninit(Dialog& dialog) {
    if (dialog.window) return false;
    dialog.controls.clear();
    dialog.controls.shrink_to_fit();
    return true;
}
