// One number per field: the checks around the list-directed reader.
#include "app/number_field.h"

#include <cstring>
#include <string>

#include "text/number_parse.h"

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// The typed text without the blanks around it; stops at a NUL within length.
std::string trimmed(const char* text, int length) {
    std::string s;
    if (text == nullptr || length <= 0) return s;
    const void* nul = std::memchr(text, '\0', static_cast<size_t>(length));
    const size_t n = nul ? static_cast<size_t>(static_cast<const char*>(nul) - text)
                         : static_cast<size_t>(length);
    s.assign(text, n);
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

// The checks shared by both types. token receives the first blank-free run; rest is true when
// something follows it.
FieldReading screen(const std::string& s, std::string& token) {
    if (s.empty()) return FieldReading::bad_format;
    // A comma is a decimal comma in most of the world; the list-directed reader would take it for
    // a separator and read the digits before it alone.
    if (s.find(',') != std::string::npos) return FieldReading::decimal_comma;
    size_t end = 0;
    while (end < s.size() && !is_blank(s[end]))
        ++end;
    token = s.substr(0, end);
    // A slash ends a list-directed record and r*c repeats a value: neither is one plain number.
    if (token.find_first_of("/*") != std::string::npos) return FieldReading::bad_format;
    return end < s.size() ? FieldReading::several : FieldReading::number;
}

} // namespace

const char* field_refusal(FieldReading reading) {
    switch (reading) {
    case FieldReading::decimal_comma:
        return "Use a decimal point";
    case FieldReading::several:
        return "Only one number, please";
    default:
        return nullptr;
    }
}

FieldReading read_real_field(const char* text, int length, double& value) {
    std::string token;
    const FieldReading r = screen(trimmed(text, length), token);
    if (r == FieldReading::decimal_comma || r == FieldReading::bad_format) return r;
    double v = 0.0;
    if (parse_real(token.c_str(), static_cast<int>(token.size()), v) != kParseOk)
        return FieldReading::bad_format;
    // "0.5 0.7" and "0.5 x" alike: a number was typed, and more after it.
    if (r == FieldReading::several) return FieldReading::several;
    value = v;
    return FieldReading::number;
}

FieldReading read_int_field(const char* text, int length, int& value) {
    std::string token;
    const FieldReading r = screen(trimmed(text, length), token);
    if (r == FieldReading::decimal_comma || r == FieldReading::bad_format) return r;
    int v = 0;
    if (parse_int(token.c_str(), static_cast<int>(token.size()), v) != kParseOk)
        return FieldReading::bad_format;
    if (r == FieldReading::several) return FieldReading::several;
    value = v;
    return FieldReading::number;
}
