// Reading of binary dialog templates with every access checked against the end of the bytes.
#include "dialogm/dialog_template.h"

namespace {

// A bounded little-endian cursor: every read fails instead of passing the end.
struct Cursor {
    const unsigned char* data; // first byte of the template
    size_t size;               // bytes available
    size_t pos;                // next byte to read

    bool u16(uint16_t& v) {
        if (size - pos < 2 || pos > size) return false;
        v = static_cast<uint16_t>(data[pos] | (data[pos + 1] << 8));
        pos += 2;
        return true;
    }
    bool u32(uint32_t& v) {
        uint16_t lo, hi;
        if (!u16(lo) || !u16(hi)) return false;
        v = lo | (static_cast<uint32_t>(hi) << 16);
        return true;
    }
    bool s16(int16_t& v) {
        uint16_t u;
        if (!u16(u)) return false;
        v = static_cast<int16_t>(u);
        return true;
    }
    // Zero-terminated string of 16-bit units; keeps the low byte of each, at most
    // tmpl_max_string of them.
    bool str(std::string& s) {
        s.clear();
        for (;;) {
            uint16_t c;
            if (!u16(c)) return false;
            if (c == 0) return true;
            if (s.size() < tmpl_max_string) s.push_back(static_cast<char>(c & 0xFF));
        }
    }
    // Either 0xFFFF followed by an ordinal, or a string.
    bool ordinal_or_str(bool& is_ordinal, uint16_t& ordinal, std::string& s) {
        if (size - pos >= 2 && pos <= size && data[pos] == 0xFF && data[pos + 1] == 0xFF) {
            pos += 2;
            is_ordinal = true;
            s.clear();
            return u16(ordinal);
        }
        is_ordinal = false;
        ordinal = 0;
        return str(s);
    }
    // Moves to the next 4-byte boundary (relative to the template start).
    bool align4() {
        size_t next = (pos + 3) & ~static_cast<size_t>(3);
        if (next > size) return false;
        pos = next;
        return true;
    }
};

} // namespace

bool parse_dialog_template(const unsigned char* data, size_t size, DialogTemplate& out) {
    out = DialogTemplate{};
    if (!data) return false;
    Cursor c{data, size, 0};
    // The extended layout starts with the version 1 and the signature 0xFFFF.
    if (size >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF)
        return false;
    uint16_t count;
    if (!c.u32(out.style) || !c.u32(out.ex_style) || !c.u16(count) || !c.s16(out.x) ||
        !c.s16(out.y) || !c.s16(out.cx) || !c.s16(out.cy))
        return false;
    bool ord;
    uint16_t ordinal;
    std::string menu, cls;
    if (!c.ordinal_or_str(ord, ordinal, menu) || !c.ordinal_or_str(ord, ordinal, cls) ||
        !c.str(out.title))
        return false;
    if (out.style & tmpl_ds_setfont) {
        if (!c.u16(out.point_size) || !c.str(out.face_name)) return false;
    }
    // Each item needs at least 24 bytes, so a count larger than the rest can hold is refused
    // before anything is reserved.
    if (static_cast<size_t>(count) * 24 > size) return false;
    out.items.reserve(count);
    for (uint16_t i = 0; i < count; ++i) {
        TemplateItem it;
        bool class_ordinal;
        uint16_t atom;
        uint16_t extra;
        if (!c.align4() || !c.u32(it.style) || !c.u32(it.ex_style) || !c.s16(it.x) ||
            !c.s16(it.y) || !c.s16(it.cx) || !c.s16(it.cy) || !c.u16(it.id) ||
            !c.ordinal_or_str(class_ordinal, atom, it.class_name) ||
            !c.ordinal_or_str(it.title_is_ordinal, it.title_ordinal, it.title) || !c.u16(extra))
            return false;
        it.class_atom = class_ordinal ? atom : 0;
        // Creation data, if any, count their own size word; skip them whole.
        if (extra > 2) {
            if (size - c.pos < static_cast<size_t>(extra - 2)) return false;
            c.pos += extra - 2;
        }
        out.items.push_back(std::move(it));
    }
    return true;
}
