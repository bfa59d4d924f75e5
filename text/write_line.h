// List-directed output of one line (record) to the standard output unit, unit 6.
// Any thread may call it; the connected line sink decides where the line is shown.
//
// The record starts with one blank, then the items: character items as they are
// (no quotes, no blank between two adjacent ones), integers in their shortest
// decimal form, reals in G editing with 17 significant digits (enough to give
// back the same double) and a three-digit exponent after E where the E form is
// used, without the field's padding; a number is set off from the item before
// it by one blank. A call with no items writes an empty record.
//
//     write_line({"Short Instructions (January 7, 2003):"});  // " Short Instructions ..."
//     write_line();                                           // ""
//     write_line({"NT>NXY"});                                 // " NT>NXY"
//     write_line({"Kmax =", 3.25});                           // " Kmax = 3.2500000000000000"
//     write_line({1e-5});                                     // " 0.10000000000000001E-004"
#pragma once

#include <initializer_list>
#include <string_view>

// The unit list-directed output goes to: the run-time's standard output unit.
constexpr int kStandardOutputUnit = 6;

// One item of an output list.
struct ListItem {
    enum Kind { text_item, integer_item, real_item };
    Kind kind;             // which of the next three fields holds the item
    std::string_view text; // a character item, with its length
    int integer;           // an integer item
    double real;           // a real item

    ListItem(std::string_view t) : kind(text_item), text(t), integer(0), real(0) {}
    ListItem(const char* t)
        : kind(text_item), text(t ? std::string_view(t) : std::string_view()), integer(0), real(0) {
    }
    ListItem(int i) : kind(integer_item), integer(i), real(0) {}
    ListItem(double r) : kind(real_item), integer(0), real(r) {}
};

// Writes one record of the items to kStandardOutputUnit.
void write_line(std::initializer_list<ListItem> items = {});

// The same for an array of `count` items (count <= 0 writes an empty record).
void write_line(const ListItem* items, int count);

// Builds the record write_line would write into a buffer of `length`
// characters without writing it: returns the record's full length, of which
// at most `length` characters are stored (not terminated).
int list_directed_record(const ListItem* items, int count, char* buffer, int length);
