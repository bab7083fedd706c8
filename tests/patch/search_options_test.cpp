#include "patch/search_options.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "patch/parameter_table.h"
#include "support/scripted_port.h"
#include "support/temp_dir.h"
#include "view/view_state.h"

namespace fennory {
namespace {

TEST(ConvertTypedNumber, ReadsTheLongestDecimalPrefix) {
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        const char* text;
        float want;
    } cases[] = {
        {"100", 100.0f},       {"0.5", 0.5f},      {"  7.25abc", 7.25f}, {"5%", 5.0f},
        {"abc", 0.0f},         {"", 0.0f},         {"-3", -3.0f},        {"+2", 2.0f},
        {".5", 0.5f},          {"5.", 5.0f},       {"1e2", 100.0f},      {"2E-1", 0.2f},
        {"1e", 1.0f},          {"1e+", 1.0f},      {"1.5e+1x", 15.0f},   {"\t 3", 3.0f},
        {"inf", 0.0f},         {"nan", 0.0f},      {"0x1p3", 0.0f},      {"1,5", 1.0f},
        {"-", 0.0f},           {".", 0.0f},        {"1e999", inf},       {"1e-999", 0.0f},
        {"0.0001e-999", 0.0f}, {"99999e999", inf}, {"0.50000001", 0.5f}, {"100.000001", 100.0f},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConvertTypedNumber(c.text), c.want) << '"' << c.text << '"';
    }
}

// A desktop started in a locale with a decimal comma must still read "0.5" as one half. The
// locale is compiled into a temporary folder, so the machine need not have it installed.
TEST(ConvertTypedNumber, IgnoresTheProcessLocale) {
    testing::TempDir locales;
    const std::string build =
        "localedef -i de_DE -f UTF-8 '" + (locales / "de_DE.UTF-8") + "' >/dev/null 2>&1";
    if (std::system(build.c_str()) != 0) {
        GTEST_SKIP() << "localedef or the de_DE locale source (package locales) is missing";
    }
    ::setenv("LOCPATH", locales.path().c_str(), 1);
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    ASSERT_EQ(std::atof("0,5"), 0.5);  // the C library now reads a decimal comma
    const float value = ConvertTypedNumber("0.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
    ::unsetenv("LOCPATH");
    EXPECT_EQ(value, 0.5f);
}

struct RangeCase {
    const char* engine;
    const char* rudder;
    const char* gravity;
    const char* surface;
    const char* message;
};

TEST(AskSearchOptions, ChecksTheFourRangesInOrder) {
    const RangeCase cases[] = {
        {"100", "0.5", "10", "0.5", ""},
        {"0", "0", "0", "0", ""},
        {"100.000001", "0.50000001", "10", "0.50000001", ""},
        {"100.00001", "0", "0", "0", "Value for eng_power must lie in range 0-100%\n"},
        {"0", "0.5000001", "0", "0", "Value for rudder-drag must lie in range 0.0 - 0.5\n"},
        {"0", "0", "10.000001", "0", "Value for gc_height must lie in range 0.0 - 10.0\n"},
        {"0", "0", "0", "-0.1", "Value for LR must lie in range 0.0 - 0.5\n"},
        {"-1", "-1", "-1", "0.6",
         "Value for eng_power must lie in range 0-100%\n"
         "Value for rudder-drag must lie in range 0.0 - 0.5\n"
         "Value for gc_height must lie in range 0.0 - 10.0\n"
         "Value for LR must lie in range 0.0 - 0.5\n"},
        {"letters", "5%", "0", "0", "Value for rudder-drag must lie in range 0.0 - 0.5\n"},
    };
    for (const RangeCase& c : cases) {
        testing::ScriptedPort port;
        port.searchOptions.push_back(
            SearchOptionsFields{c.engine, c.rudder, c.gravity, c.surface, 0});
        ViewState state;
        InitialiseViewState(state);
        ParameterTable table;
        const bool passed = AskSearchOptions(state, port, table);
        const std::string message = c.message;
        EXPECT_EQ(passed, message.empty()) << c.engine << ' ' << c.rudder;
        EXPECT_EQ(port.Of("message"),
                  message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message})
            << c.engine << ' ' << c.rudder;
    }
}

TEST(AskSearchOptions, StoresConfirmedTextsAndOffersThemNextTime) {
    testing::ScriptedPort port;
    ViewState state;
    InitialiseViewState(state);
    ParameterTable table;
    table.entries[kMass].newValue = 9.0f;  // slots 0, 1 and 4 are always reset to 0

    // Cancel after editing leaves everything as it was.
    port.searchOptions.push_back(std::nullopt);
    EXPECT_FALSE(AskSearchOptions(state, port, table));
    EXPECT_EQ(state.gravityHeightText, "0");

    // Empty becomes the default, blanks are kept; a failed check keeps texts and re-make.
    port.searchOptions.push_back(SearchOptionsFields{"50", "0.9", "", "  ", 1});
    EXPECT_FALSE(AskSearchOptions(state, port, table));
    EXPECT_EQ(state.enginePowerText, "50");
    EXPECT_EQ(state.rudderDragText, "0.9");
    EXPECT_EQ(state.gravityHeightText, "0");
    EXPECT_EQ(state.surfaceDragText, "  ");
    EXPECT_EQ(state.remakeCatalogue, 1);
    EXPECT_EQ(table.entries[kEnginePower].newValue, 50.0f);
    EXPECT_EQ(table.entries[kRudderDrag].newValue, 0.9f);
    EXPECT_EQ(table.entries[kMass].newValue, 0.0f);

    port.searchOptions.push_back(SearchOptionsFields{"50", "0.2", "4.5", "0.1", 0});
    EXPECT_TRUE(AskSearchOptions(state, port, table));
    EXPECT_EQ(state.remakeCatalogue, 0);
    EXPECT_EQ(table.entries[kGcHeight].newValue, 4.5f);
    EXPECT_EQ(table.entries[kSurfaceDrag].newValue, 0.1f);

    ASSERT_EQ(port.offeredSearchOptions.size(), 3u);
    const auto& first = port.offeredSearchOptions[0];
    EXPECT_EQ(first.engineText + first.rudderText + first.gravityText + first.surfaceText, "0000");
    const auto& third = port.offeredSearchOptions[2];
    EXPECT_EQ(third.engineText, "50");
    EXPECT_EQ(third.rudderText, "0.9");
    EXPECT_EQ(third.surfaceText, "  ");
    for (const auto& offered : port.offeredSearchOptions) {
        EXPECT_EQ(offered.remakeCheck, 0);
    }
}

}  // namespace
}  // namespace fennory
