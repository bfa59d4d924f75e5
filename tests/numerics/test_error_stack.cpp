// The routine-name stack: when messages are printed, when the program stops, how errors pass to
// callers, type queries, user flags and the facility's own misuse.
#include "test_error_capture.h"

#include <string>
#include <vector>

namespace {

using ErrorStackTest = ErrorFacilityTest;

// Number of records of a message printed at level 2 with a one-line text: empty line + text.
constexpr size_t SHORT_MESSAGE = 2;
// The same at level 3: the traceback adds its three head lines and one row per level.
constexpr size_t SHORT_MESSAGE_TRACED = SHORT_MESSAGE + 3 + 3;

TEST_F(ErrorStackTest, WarningOfInnerRoutineIsPrintedAtOutermostPopWithoutTraceback) {
    E1PSH("DTWODQ");
    E1PSH("DT2ODQ");
    set_message_double(1, 0.25);
    set_message_double(2, 0.5);
    E1MES(3, 3, "Precision is degraded in (%(D1),%(D2)).");
    EXPECT_TRUE(capture().lines.empty());
    E1POP("DT2ODQ");
    EXPECT_TRUE(capture().lines.empty()); // DTWODQ is not user code
    EXPECT_EQ(N1RTY(1), 3);               // the routine just popped
    EXPECT_EQ(N1RTY(0), 3);               // passed on to DTWODQ
    E1POP("DTWODQ");
    const std::vector<std::string> expected = {
        "", " *** WARNING  ERROR 3 from DTWODQ.  Precision is degraded in",
        " ***          (2.500000000000000E-01,5.000000000000000E-01)."};
    EXPECT_EQ(texts(), expected);
    EXPECT_EQ(stop_count(), 0u);
    EXPECT_EQ(N1RTY(0), 3); // the program level holds the warning
    EXPECT_EQ(N1RTY(1), 3);
}

TEST_F(ErrorStackTest, OnlyTheLastMessageOfALevelSurvives) {
    E1PSH("DTWODQ");
    E1PSH("DT2ODQ");
    E1MES(3, 3, "first");
    E1MES(4, 1, "second");
    E1POP("DT2ODQ");
    E1POP("DTWODQ");
    const std::vector<std::string> expected = {"", " *** FATAL    ERROR 1 from DTWODQ.  second"};
    EXPECT_EQ(texts(), expected);
    ASSERT_EQ(stop_count(), 1u);
    EXPECT_EQ(capture().stops[0], 2u);
}

// Default settings, seen from a routine called by the program: recorded, then popped.
struct TypeCase {
    int type;
    bool printed_at_once;
    bool printed_at_pop;
    bool stops;
    const char* first_line;
};

TEST_F(ErrorStackTest, PerTypeDefaults) {
    const TypeCase cases[] = {
        {1, false, false, false, nullptr},
        {2, false, false, false, nullptr},
        {3, false, true, false, " *** WARNING  ERROR 8 from R.  m"},
        {4, false, true, true, " *** FATAL    ERROR 8 from R.  m"},
        {5, true, false, true, " *** TERMINAL ERROR 8 from R.  m"},
        {6, true, false, false, " *** WARNING  ERROR 8 from R.  m"},
        {7, true, false, true, " *** FATAL    ERROR 8 from R.  m"},
    };
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(c.type);
        capture() = Capture{};
        reset_error_facility();
        E1PSH("R");
        E1MES(c.type, 8, "m");
        EXPECT_EQ(capture().lines.size(), c.printed_at_once ? SHORT_MESSAGE : 0u);
        E1POP("R");
        const bool printed = c.printed_at_once || c.printed_at_pop;
        ASSERT_EQ(capture().lines.size(), printed ? SHORT_MESSAGE : 0u);
        if (printed) {
            EXPECT_EQ(capture().lines[1].text, c.first_line);
        }
        EXPECT_EQ(stop_count(), c.stops ? 1u : 0u);
        if (c.stops) {
            EXPECT_EQ(capture().stops[0], SHORT_MESSAGE); // after the message
        }
        // A NOTE stays with its routine; every other type passes to the program level.
        EXPECT_EQ(N1RTY(0), c.type == 1 ? 0 : c.type);
        EXPECT_EQ(N1RTY(1), c.type);
    }
}

TEST_F(ErrorStackTest, FatalInsideNestedRoutinesWaitsForTheOutermostPop) {
    E1PSH("A");
    E1PSH("B");
    E1PSH("C");
    E1MES(4, 2, "fatal");
    E1POP("C");
    E1POP("B");
    EXPECT_TRUE(capture().lines.empty());
    EXPECT_EQ(stop_count(), 0u);
    E1POP("A");
    const std::vector<std::string> expected = {"", " *** FATAL    ERROR 2 from A.  fatal"};
    EXPECT_EQ(texts(), expected); // level 2: no traceback
    EXPECT_EQ(stop_count(), 1u);
}

TEST_F(ErrorStackTest, TerminalStopsAtEveryPopOnTheWayOut) {
    E1PSH("DTWODQ");
    E1PSH("DT2ODQ");
    E1MES(5, 2, "bad");
    const size_t printed = capture().lines.size();
    EXPECT_EQ(stop_count(), 0u);
    E1POP("DT2ODQ");
    EXPECT_EQ(stop_count(), 1u);
    E1POP("DTWODQ"); // were the stop to return, the caller stops again, printing nothing new
    EXPECT_EQ(stop_count(), 2u);
    EXPECT_EQ(capture().lines.size(), printed);
}

TEST_F(ErrorStackTest, ImmediateTypesUseTheirFlagsAtTheOutermostPop) {
    struct Case {
        std::vector<int> types; // recorded in this order by nested routines
        bool stops;
    };
    const Case cases[] = {{{6}, false}, {{7}, true}, {{6, 7}, true}, {{7, 6}, true}};
    for (const Case& c : cases) {
        capture() = Capture{};
        reset_error_facility();
        E1PSH("OUTER");
        for (size_t i = 0; i < c.types.size(); ++i) {
            E1PSH("INNER");
            E1MES(c.types[i], 1, "x");
            E1POP("INNER");
        }
        EXPECT_EQ(capture().lines.size(), c.types.size() * SHORT_MESSAGE_TRACED);
        EXPECT_EQ(stop_count(), 0u); // OUTER is not user code
        E1POP("OUTER");
        EXPECT_EQ(stop_count(), c.stops ? 1u : 0u);
        // The flags were read and cleared: a later type 6 does not stop.
        E1PSH("AGAIN");
        E1MES(6, 1, "y");
        E1POP("AGAIN");
        EXPECT_EQ(stop_count(), c.stops ? 1u : 0u);
    }
}

TEST_F(ErrorStackTest, UserFlagMakesErrorsOfCalledRoutinesCountAsUserCode) {
    E1PSH("DTWODQ");
    E1USR("ON");
    E1PSH("F");
    E1MES(3, 5, "from the integrand");
    E1POP("F"); // the caller's flag is on: printed now
    ASSERT_EQ(capture().lines.size(), SHORT_MESSAGE_TRACED);
    EXPECT_EQ(capture().lines[1].text, " *** WARNING  ERROR 5 from F.  from the integrand");
    EXPECT_EQ(capture().lines[5].text, traceback_row("F", 3, 5, false));
    E1USR("off   ");
    E1PSH("F");
    E1MES(3, 6, "again");
    E1POP("F");
    EXPECT_EQ(capture().lines.size(), SHORT_MESSAGE_TRACED); // held back now
    E1USR("on");
    E1USR("OFF");
    E1POP("DTWODQ");
    ASSERT_EQ(capture().lines.size(), SHORT_MESSAGE_TRACED + SHORT_MESSAGE);
    EXPECT_EQ(capture().lines.back().text, " *** WARNING  ERROR 6 from DTWODQ.  again");
    EXPECT_EQ(stop_count(), 0u);
}

TEST_F(ErrorStackTest, InvalidUserSwitchIsTerminalWithoutImmediateStop) {
    for (const char* bad : {"On", "oN", "ONN", "", " ON", "yes  "}) {
        SCOPED_TRACE(bad);
        capture() = Capture{};
        reset_error_facility();
        E1PSH("R");
        E1USR(bad);
        std::string shown = bad;
        while (!shown.empty() && shown.back() == ' ')
            shown.pop_back();
        std::string joined;
        for (size_t i = 1; i < capture().lines.size(); ++i)
            joined += capture().lines[i].text;
        EXPECT_NE(joined.find("SWITCH = '" + shown + "'"), std::string::npos) << joined;
        ASSERT_GE(capture().lines.size(), 2u);
        EXPECT_EQ(capture().lines[1].text.substr(0, 60),
                  " *** TERMINAL ERROR 1 from R.  Invalid value for SWITCH in c");
        EXPECT_EQ(stop_count(), 0u);
        EXPECT_EQ(N1RTY(0), 5);
        E1POP("R");
        EXPECT_EQ(stop_count(), 1u);
    }
}

TEST_F(ErrorStackTest, TypeQueryMisuseStops) {
    E1PSH("R");
    EXPECT_EQ(N1RTY(2), 5);
    const std::vector<std::string> expected = {
        "", " *** TERMINAL ERROR 1 from R.  The argument passed to N1RTY must be 0 or 1."};
    EXPECT_EQ(texts(), expected);
    EXPECT_EQ(stop_count(), 1u);
    EXPECT_EQ(N1RTY(0), 5);
}

TEST_F(ErrorStackTest, IllegalTypeStopsAndKeepsTheLevelStatus) {
    for (int type : {8, -2}) {
        capture() = Capture{};
        reset_error_facility();
        E1PSH("R");
        E1MES(3, 4, "earlier");
        E1MES(type, 9, "ignored");
        // No ".  " added: the message brings its own, so 50 characters fit.
        const std::vector<std::string> expected = {
            "", " *** WARNING  ERROR 4 from R.  Error from E1MES.  Illegal error type",
            " ***          specified."};
        EXPECT_EQ(texts(), expected);
        EXPECT_EQ(stop_count(), 1u);
        EXPECT_EQ(N1RTY(0), 3);
    }
    // At the program level, with no error recorded, the type has no name.
    capture() = Capture{};
    reset_error_facility();
    E1MES(9, 1, "x");
    const std::vector<std::string> expected = {
        "", " *** UNKNOWN  ERROR 0 from USER.  Error from E1MES.  Illegal error type",
        " ***          specified."};
    EXPECT_EQ(texts(), expected);
}

TEST_F(ErrorStackTest, PushBeyondFiftyLevelsStops) {
    for (int i = 2; i <= kErrorStackLevels; ++i)
        E1PSH(("R" + std::to_string(i)).c_str());
    EXPECT_TRUE(capture().lines.empty());
    E1PSH("EXTRA");
    const std::vector<std::string> lines = texts();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1], " *** TERMINAL ERROR 1 from R50.  Error condition in E1PSH.  Push would");
    EXPECT_EQ(lines[2], " ***          cause stack level to exceed 50.");
    ASSERT_EQ(lines.size(), 3u + 3u + 50u); // traceback of all 50 levels
    EXPECT_EQ(lines[6], traceback_row("R50", 5, 1, true));
    EXPECT_EQ(lines.back(), traceback_row("USER", 0, 0, false));
    EXPECT_EQ(stop_count(), 1u);
    // Had the stop returned, the refused push's pop is absorbed and R50 is still on top.
    E1POP("EXTRA");
    EXPECT_EQ(stop_count(), 1u);
    E1POP("R50");
    EXPECT_EQ(stop_count(), 2u); // R50 holds the TERMINAL error
}

TEST_F(ErrorStackTest, PopOfEmptyStackStops) {
    E1POP("DTWODQ");
    const std::vector<std::string> lines = texts();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], " *** TERMINAL ERROR 1 from E1POP.  Error condition in E1POP.  Cannot pop");
    EXPECT_EQ(lines[2], " ***          from DTWODQ because stack is empty.");
    EXPECT_EQ(lines.size(), 3u); // level 2: no traceback
    EXPECT_EQ(stop_count(), 1u);
    EXPECT_EQ(N1RTY(0), 0); // back at the program level
}

TEST_F(ErrorStackTest, PopOfWrongNameStops) {
    E1PSH("DTWODQ");
    E1PSH("DT2ODQ");
    E1POP("DTWODQ");
    const std::vector<std::string> lines = texts();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1],
              " *** TERMINAL ERROR 2 from DT2ODQ.  Error condition in E1POP.  DTWODQ does");
    EXPECT_EQ(lines[2], " ***          not match the name DT2ODQ in the stack.");
    EXPECT_EQ(lines[6], traceback_row("DT2ODQ", 5, 2, true));
    EXPECT_EQ(stop_count(), 1u);
    // Names compare blank-padded: trailing blanks do not matter.
    capture() = Capture{};
    reset_error_facility();
    E1PSH("ABC");
    E1POP("ABC   ");
    EXPECT_TRUE(capture().lines.empty());
    EXPECT_EQ(stop_count(), 0u);
}

TEST_F(ErrorStackTest, PopFreesTheLevelAboveAndKeepsItsOwnStatus) {
    E1PSH("A");
    E1PSH("B");
    E1MES(2, 3, "alert");
    E1POP("B");
    EXPECT_EQ(N1RTY(1), 2);
    E1PSH("C"); // reuses B's level with a clean status
    EXPECT_EQ(N1RTY(0), 0);
    E1PSH("D");
    E1POP("D");
    E1POP("C");
    EXPECT_EQ(N1RTY(1), 0);
    E1POP("A");
    EXPECT_TRUE(capture().lines.empty()); // ALERT is not printed by default
    EXPECT_EQ(N1RTY(0), 2);               // but it reached the program level
}

} // namespace
