#include "results/results_viewer.h"

#include <gtest/gtest.h>

#include "common/paths.h"
#include "patch/file_buffer.h"
#include "support/temp_dir.h"
#include "support/working_folders_test.h"
#include "view/view_state.h"

namespace fennory {
namespace {

using testing::WriteFile;

// `lines` report lines of "abcd" with CR LF: five characters each once translated.
std::string Report(std::size_t lines) {
    std::string text;
    for (std::size_t i = 0; i < lines; ++i) {
        text += "abcd\r\n";
    }
    return text;
}

class ViewResultsTest : public testing::WorkingFoldersTest {
  protected:
    std::string View(const std::string& report, int restrict) {
        WriteFile(start + "/SEARCHPLAINTEXT.TXT", report);
        state.restrictResults = restrict;
        port.events.clear();
        EXPECT_TRUE(OnViewResults(state, port, buffer));
        return port.lastTextViewTitle;
    }

    FileBuffer buffer;
};

TEST_F(ViewResultsTest, TitleNotesFollowTheCountRead) {
    struct Case {
        std::string report;
        int restrict;
        std::string title;
        std::size_t bodySize;
    };
    const Case cases[] = {
        {Report(10000), 1, "SEARCH RESULTS (truncated to 50,000 chars.)", 50000},
        {Report(9999) + "abcd", 1, "SEARCH RESULTS", 49999},
        {Report(20000), 1, "SEARCH RESULTS (truncated to 50,000 chars.)", 50000},
        {Report(20000), 0, "SEARCH RESULTS", 100000},
        {Report(50000), 0, "SEARCH RESULTS (truncated to 200,000 chars.)", 200000},
        {"", 0, "SEARCH RESULTS Error in loading text for viewing.", 0},
        {std::string("ab\0cd", 5) + Report(9999), 1, "SEARCH RESULTS (truncated to 50,000 chars.)",
         2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(View(c.report, c.restrict), c.title) << c.report.size();
        EXPECT_EQ(port.lastTextViewBody.size(), c.bodySize) << c.report.size();
    }
}

TEST_F(ViewResultsTest, ShowsTheTranslatedTextAndEndsInTheRootFolder) {
    EXPECT_EQ(View("\r\nFile A found.\r\nbare\rcr\n", 0), "SEARCH RESULTS");
    EXPECT_EQ(port.lastTextViewBody, "\nFile A found.\nbare\rcr\n");
    EXPECT_EQ(port.events,
              (std::vector<std::string>{"status: Setting up view. This may take some time...",
                                        "status: Ready", "text-view: SEARCH RESULTS"}));
    EXPECT_EQ(port.drains, 2);
    EXPECT_EQ(port.wait.Count(), 0);
    EXPECT_EQ(CurrentDirectory() + "/", root);
}

TEST_F(ViewResultsTest, MissingReportLeavesTheStartDirectory) {
    EXPECT_FALSE(OnViewResults(state, port, buffer));
    EXPECT_EQ(port.events,
              std::vector<std::string>{
                  "message: Cannot open results file 'SEARCHPLAINTEXT'.\nIs it open elsewhere? "});
    EXPECT_EQ(CurrentDirectory(), start);
}

}  // namespace
}  // namespace fennory
