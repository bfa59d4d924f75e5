// Reading of a binary dialog template (the standard layout, not the extended one) into plain
// records. Toolkit-free and reentrant; any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Style bits the dialog layer looks at.
constexpr uint32_t tmpl_ws_group = 0x00020000;   // begins a new group of controls
constexpr uint32_t tmpl_ws_tabstop = 0x00010000; // reached by Tab
constexpr uint32_t tmpl_ws_disabled = 0x08000000;
constexpr uint32_t tmpl_ws_visible = 0x10000000;
constexpr uint32_t tmpl_ws_border = 0x00800000;
constexpr uint32_t tmpl_ds_setfont = 0x40; // the header names a font

// Class atoms of the predefined control classes.
constexpr uint16_t atom_button = 0x80;
constexpr uint16_t atom_edit = 0x81;
constexpr uint16_t atom_static = 0x82;
constexpr uint16_t atom_list_box = 0x83;
constexpr uint16_t atom_scroll_bar = 0x84;
constexpr uint16_t atom_combo_box = 0x85;

// Longest string kept from a template; longer strings are read past and cut.
constexpr size_t tmpl_max_string = 256;

// One control item of a template.
struct TemplateItem {
    uint32_t style = 0;      // window and class style bits
    uint32_t ex_style = 0;   // extended style bits
    int16_t x = 0, y = 0;    // top-left corner in dialog units
    int16_t cx = 0, cy = 0;  // width and height in dialog units
    uint16_t id = 0;         // control id
    uint16_t class_atom = 0; // predefined class atom; 0 when the class is named by a string
    std::string class_name;  // the class string when class_atom is 0
    std::string title;       // title text (low byte of every 16-bit unit), empty for an ordinal
    bool title_is_ordinal = false; // the title is a resource ordinal, not a text
    uint16_t title_ordinal = 0;    // that ordinal
};

// A whole dialog template.
struct DialogTemplate {
    uint32_t style = 0;              // dialog window style
    uint32_t ex_style = 0;           // extended style
    int16_t x = 0, y = 0;            // position in dialog units
    int16_t cx = 0, cy = 0;          // client size in dialog units
    std::string title;               // caption
    uint16_t point_size = 0;         // font size in points (0: no font named)
    std::string face_name;           // font face
    std::vector<TemplateItem> items; // in template order
};

// Reads size bytes at data into out. False if the bytes end before the template does, or the
// template is in the extended layout; never reads outside [data, data + size).
bool parse_dialog_template(const unsigned char* data, size_t size, DialogTemplate& out);
