// List-directed output of one record to the standard output unit.
#include "text/write_line.h"

#include "text/edit_descriptors.h"
#include "text/output_unit.h"

#include <cstdio>
#include <string>

namespace {

// G26.17E3: 17 significant digits, a sign, "0." and an exponent that always
// has its E (so the text reads back by the input rules); the padding is
// stripped afterwards.
constexpr int kRealWidth = 26;
constexpr int kRealDigits = 17;
constexpr int kRealExponentDigits = 3;

// Appends to a bounded buffer while counting the full length.
struct RecordBuilder {
    char* buffer; // destination, may be null when length is 0
    int length;   // capacity of buffer
    int size;     // characters produced so far (may exceed length)
};

void append(RecordBuilder& b, const char* text, size_t n) {
    for (size_t i = 0; i < n; ++i, ++b.size)
        if (b.size < b.length) b.buffer[b.size] = text[i];
}

void append_number(RecordBuilder& b, const ListItem& item) {
    char text[kRealWidth];
    int begin = 0, end = 0;
    if (item.kind == ListItem::integer_item) {
        end = std::snprintf(text, sizeof text, "%d", item.integer);
    } else {
        edit_g(text, kRealWidth, kRealDigits, item.real, kRealExponentDigits);
        end = kRealWidth;
        while (begin < end && text[begin] == ' ')
            ++begin;
        while (end > begin && text[end - 1] == ' ')
            --end;
    }
    append(b, text + begin, static_cast<size_t>(end - begin));
}

} // namespace

int list_directed_record(const ListItem* items, int count, char* buffer, int length) {
    RecordBuilder b{buffer, buffer ? (length > 0 ? length : 0) : 0, 0};
    if (!items || count <= 0) return 0;
    append(b, " ", 1);
    for (int i = 0; i < count; ++i) {
        const ListItem& item = items[i];
        if (item.kind == ListItem::text_item) {
            append(b, item.text.data(), item.text.size());
        } else {
            if (i > 0) append(b, " ", 1);
            append_number(b, item);
        }
    }
    return b.size;
}

void write_line(const ListItem* items, int count) {
    // Short records are built on the stack; only a long one needs the heap.
    char local[256];
    int size = list_directed_record(items, count, local, static_cast<int>(sizeof local));
    if (size <= static_cast<int>(sizeof local)) {
        emit_line(kStandardOutputUnit, local, size);
        return;
    }
    std::string record(static_cast<size_t>(size), ' ');
    list_directed_record(items, count, record.data(), size);
    emit_line(kStandardOutputUnit, record.data(), size);
}

void write_line(std::initializer_list<ListItem> items) {
    write_line(items.begin(), static_cast<int>(items.size()));
}
