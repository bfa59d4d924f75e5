// Shared pieces of the two-dimensional quadrature tests: a fixture that captures the facility's
// output from a clean state, and helpers to read the printed messages.
#pragma once

#include "numerics/dtwodq.h"
#include "numerics/quadrature_shared.h"
#include "test_error_capture.h"

#include <algorithm>
#include <string>
#include <vector>

class DtwodqTest : public ErrorFacilityTest {
  protected:
    void SetUp() override {
        ErrorFacilityTest::SetUp();
        reset_quadrature_flags();
    }
    void TearDown() override {
        reset_quadrature_flags();
        ErrorFacilityTest::TearDown();
    }

    // Indices of the records that open a message (" *** TYPE ERROR code from NAME...").
    static std::vector<size_t> message_starts() {
        std::vector<size_t> out;
        const std::vector<std::string> t = texts();
        for (size_t i = 0; i < t.size(); ++i)
            if (t[i].rfind(" *** ", 0) == 0 && t[i].find(" ERROR ") != std::string::npos &&
                t[i].rfind(" ***          ", 0) != 0)
                out.push_back(i);
        return out;
    }

    // The first record of each message.
    static std::vector<std::string> message_heads() {
        std::vector<std::string> out;
        const std::vector<std::string> t = texts();
        for (size_t i : message_starts())
            out.push_back(t[i]);
        return out;
    }

    // The message text of the message opening at record i, with the line prefixes removed and
    // without blanks (line breaking moves and drops blanks; every other character stays).
    static std::string message_body(size_t i) {
        const std::vector<std::string> t = texts();
        std::string body;
        const std::string& first = t[i];
        const size_t from = first.find(".  ");
        body += first.substr(from == std::string::npos ? 0 : from + 3);
        for (size_t j = i + 1; j < t.size() && t[j].rfind(" ***          ", 0) == 0; ++j)
            body += t[j].substr(14);
        body.erase(std::remove(body.begin(), body.end(), ' '), body.end());
        return body;
    }

    static std::string squeeze(std::string s) {
        s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
        return s;
    }
};
