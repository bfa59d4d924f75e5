// Test helper: encodes dialog templates byte by byte, independently of the build-time compiler,
// and the expected contents of the program's four dialogs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One item to encode.
struct BuildItem {
    uint32_t style;   // complete style
    uint16_t atom;    // class atom; 0 encodes class_name as a string instead
    uint16_t id;      // control id
    std::string text; // title
    int16_t x, y, cx, cy;
    std::string class_name = std::string(); // used when atom is 0
};

// A template to encode.
struct BuildDialog {
    uint32_t style = 0x80C800C0;
    int16_t x = 0, y = 0, cx = 100, cy = 50;
    std::string title = "T";
    uint16_t points = 8;
    std::string face = "Sans Serif";
    std::vector<BuildItem> items;
};

inline void put16(std::vector<unsigned char>& b, uint32_t v) {
    b.push_back(static_cast<unsigned char>(v & 0xFF));
    b.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}
inline void put32(std::vector<unsigned char>& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
inline void put_string(std::vector<unsigned char>& b, const std::string& s) {
    for (unsigned char c : s)
        put16(b, c);
    put16(b, 0);
}

inline std::vector<unsigned char> build_template(const BuildDialog& d) {
    std::vector<unsigned char> b;
    put32(b, d.style);
    put32(b, 0);
    put16(b, static_cast<uint32_t>(d.items.size()));
    put16(b, static_cast<uint16_t>(d.x));
    put16(b, static_cast<uint16_t>(d.y));
    put16(b, static_cast<uint16_t>(d.cx));
    put16(b, static_cast<uint16_t>(d.cy));
    put16(b, 0);
    put16(b, 0);
    put_string(b, d.title);
    if (d.style & 0x40) {
        put16(b, d.points);
        put_string(b, d.face);
    }
    for (const BuildItem& it : d.items) {
        while (b.size() % 4)
            b.push_back(0);
        put32(b, it.style);
        put32(b, 0);
        put16(b, static_cast<uint16_t>(it.x));
        put16(b, static_cast<uint16_t>(it.y));
        put16(b, static_cast<uint16_t>(it.cx));
        put16(b, static_cast<uint16_t>(it.cy));
        put16(b, it.id);
        if (it.atom) {
            put16(b, 0xFFFF);
            put16(b, it.atom);
        } else {
            put_string(b, it.class_name);
        }
        put_string(b, it.text);
        put16(b, 0);
    }
    return b;
}

// Styles of the program's templates.
constexpr uint32_t kChild = 0x50000000;         // visible child
constexpr uint32_t kDefPush = kChild | 0x10001; // default push button, tab stop
constexpr uint32_t kPush = kChild | 0x10000;    // push button, tab stop
constexpr uint32_t kLeft = kChild;              // static, left
constexpr uint32_t kCentre = kChild | 0x1;      // static, centred
constexpr uint32_t kSunken = kChild | 0x1000;   // static, sunken
constexpr uint32_t kEdit = kChild | 0x810080;   // edit: border, auto h-scroll, tab stop
constexpr uint32_t kGroup = kChild | 0x7;       // group box
constexpr uint32_t kCheck = kChild | 0x10003;   // automatic check box, tab stop
constexpr uint32_t kRadio = kChild | 0x10009;   // automatic radio button, tab stop
constexpr uint32_t kGroupStart = 0x20000;       // WS_GROUP

// The four dialogs as the program's tables give them.
inline BuildDialog dialog_105() {
    BuildDialog d;
    d.x = 0, d.y = 0, d.cx = 164, d.cy = 79;
    d.title = "Parameters of Lorentzian";
    d.items = {
        {kDefPush, 0x80, 1, "OK", 24, 58, 50, 14},
        {kPush, 0x80, 2, "Cancel", 88, 58, 50, 14},
        {kCentre, 0x82, 1030, "Input value of the parameter Hc (0 < Hc < 1)", 10, 7, 147, 8},
        {kLeft, 0x82, 1031, "Hc = ", 49, 21, 18, 8},
        {kEdit, 0x81, 1032, "", 69, 19, 42, 14},
        {kSunken, 0x82, 1033, "Static", 7, 39, 150, 11},
    };
    return d;
}

inline BuildDialog dialog_101() {
    BuildDialog d;
    d.x = 0, d.y = 0, d.cx = 173, d.cy = 166;
    d.title = "Input of Hn and number of cycles";
    d.items = {
        {kPush, 0x80, 2, "Cancel", 98, 145, 50, 14},
        {kLeft, 0x82, 65535, "Current value of H:           Hc=", 7, 7, 98, 10},
        {kSunken, 0x82, 1000, "Static", 109, 6, 57, 11},
        {kLeft, 0x82, 1001, "Next  value of H:              Hn=", 8, 42, 97, 8},
        {kEdit, 0x81, 1002, "", 109, 41, 57, 12},
        {kGroup, 0x80, 1003, "Input of cycles number ", 7, 60, 159, 59},
        {kCheck, 0x80, 1004, "Cyclic alteration of H between Hc and Hn", 15, 69, 147, 10},
        {kLeft, 0x82, 1005, "Number of cycles", 15, 103, 56, 8},
        {kEdit, 0x81, 1006, "", 91, 100, 40, 12},
        {kPush, 0x80, 1007, "Execute", 26, 145, 50, 14},
        {kLeft, 0x82, 1008, "Static", 7, 127, 159, 8},
        {kCheck, 0x80, 1009, "Gradual spiral approach to Hn", 15, 84, 117, 10},
        {kLeft, 0x82, 1029, "Current value of B:           Bc=", 7, 23, 98, 10},
        {kSunken, 0x82, 1010, "Static", 109, 23, 57, 11},
    };
    return d;
}

inline BuildDialog dialog_102() {
    BuildDialog d;
    d.x = 90, d.y = 40, d.cx = 217, d.cy = 90;
    d.title = "Settings";
    d.items = {
        {kDefPush, 0x80, 1, "OK", 160, 48, 50, 14},
        {kPush, 0x80, 2, "Cancel", 160, 69, 50, 14},
        {kLeft, 0x82, 1009, "Input memory factor and attenuation factor of accommodation", 11, 7,
         194, 8},
        {kLeft, 0x82, 1010, "Smem =", 15, 25, 26, 8},
        {kEdit, 0x81, 1011, "", 47, 24, 50, 12},
        {kLeft, 0x82, 1012, "Amem =", 118, 25, 26, 8},
        {kEdit, 0x81, 1013, "", 150, 24, 50, 12},
        {kGroup, 0x80, 1014, "Start from Ho", 7, 53, 137, 30},
        {kRadio, 0x80, 1015, "Ho = - Hs", 21, 65, 46, 10},
        {kRadio, 0x80, 1016, "Ho = Hs", 89, 65, 42, 10},
        {kLeft | kGroupStart, 0x82, 1017, "Static", 7, 42, 142, 8},
    };
    return d;
}

inline BuildDialog dialog_103() {
    BuildDialog d;
    d.x = 100, d.y = 40, d.cx = 318, d.cy = 79;
    d.title = "Input axes boundaries";
    d.items = {
        {kDefPush, 0x80, 1, "OK", 261, 7, 50, 14},
        {kPush, 0x80, 2, "Cancel", 261, 24, 50, 14},
        {kGroup, 0x80, 1018, "H-axis", 7, 7, 116, 55},
        {kLeft, 0x82, 1019, "Hmin =", 14, 19, 23, 8},
        {kLeft, 0x82, 1020, "Hmax =", 14, 41, 25, 8},
        {kEdit, 0x81, 1021, "", 44, 18, 72, 14},
        {kEdit, 0x81, 1022, "", 44, 40, 72, 14},
        {kGroup, 0x80, 1023, "B-axis", 135, 7, 116, 55},
        {kLeft, 0x82, 1024, "Bmin =", 142, 19, 22, 8},
        {kLeft, 0x82, 1025, "Bmax =", 142, 41, 24, 8},
        {kEdit, 0x81, 1026, "", 172, 18, 72, 14},
        {kEdit, 0x81, 1027, "", 172, 40, 72, 14},
        {kLeft, 0x82, 1028, "Static", 32, 64, 258, 8},
    };
    return d;
}

inline std::vector<std::pair<int, BuildDialog>> program_dialogs() {
    return {{105, dialog_105()}, {101, dialog_101()}, {102, dialog_102()}, {103, dialog_103()}};
}
