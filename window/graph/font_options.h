// Reading a font selection options ("t'face' hN wN f p r v e u i b nN") into a request record.
// Pure text processing; any thread.
#pragma once

#include <string>

// Pitch and kind restrictions of a request.
enum FontPitch { PITCH_ANY = 0, PITCH_FIXED = 1, PITCH_VARIABLE = 2 };
enum FontKind { KIND_ANY = 0, KIND_RASTER = 1, KIND_SCALABLE = 2 };

// What a options asks for. Numbers of 0 mean "not given".
struct FontRequest {
    bool has_face = false;  // t'...' was given
    std::string face;       // face name after aliasing, at most 31 characters
    int height = 0;         // hN: cell height in pixels
    int width = 0;          // wN: average character width in pixels
    int pitch = PITCH_ANY;  // f / p
    int kind = KIND_ANY;    // r / v
    bool bold = false;      // e
    bool underline = false; // u
    bool italic = false;    // i
    bool best_fit = false;  // b: best fit among raster fonts
    int number = 0;         // nN: 1-based font number; ends the parsing
    bool altered = false;   // an option cancelled an earlier one (status 3)
};

// Longest face name accepted.
constexpr int kMaxFaceName = 31;

// Reads the options (trailing blanks ignored). Returns 0 on success, 252 for a
// face without its opening quote, 255 for a missing closing quote or a name of
// 32 or more characters; req is then not meaningful.
int parse_font_options(const char* options, int length, FontRequest& req);

// The face an alias stands for ("Tms Rmn", "Courier", "Helv"), or the name itself.
std::string resolve_face_alias(const std::string& face);
