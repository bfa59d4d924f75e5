// Reading one typed number from a dialog field exactly as typed: a decimal comma, a second number
// or text after the number are refused instead of reading part of the field. Pure functions; any
// thread.
#pragma once

// What a field's text gave.
enum class FieldReading {
    number,        // one number and nothing else (blanks around it allowed): the value is set
    bad_format,    // not a number of the field's type (or blank): the field's own message applies
    decimal_comma, // a comma in the text: "Use a decimal point"
    several,       // a number followed by more text: "Only one number, please"
};

// Message of a refusal that is not the field's own ("Use a decimal point", "Only one number,
// please"); null for number and bad_format.
const char* field_refusal(FieldReading reading);

// Reads one real from the first length characters of text (or up to a NUL). value is written
// only for FieldReading::number. The number itself follows the list-directed rules of
// text/number_parse.h, without their separators, repeat counts and null values: "0,5", "0.5 0.7",
// "0.5/", "2*0.5" and "," are all refused.
FieldReading read_real_field(const char* text, int length, double& value);

// The same for one 32-bit integer.
FieldReading read_int_field(const char* text, int length, int& value);
