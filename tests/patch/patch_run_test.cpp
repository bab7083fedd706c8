#include "patch/patch_run.h"

#include <gtest/gtest.h>

#include <climits>
#include <deque>

#include "catalogue/catalogue_builder.h"
#include "patch/file_buffer.h"
#include "patch/parameter_table.h"
#include "support/ship_bytes.h"
#include "support/temp_dir.h"
#include "support/working_folders_test.h"
#include "view/view_state.h"

namespace fennory {
namespace {

using testing::MakeFolders;
using testing::ReadFile;
using testing::ShipBytes;
using testing::WriteFile;

TEST(FormatElapsed, PrintsHoursMinutesAndSeconds) {
    EXPECT_EQ(FormatElapsed(0, 0), "00:00:00.00\n");
    EXPECT_EQ(FormatElapsed(1000, 66250), "00:01:05.25\n");
    EXPECT_EQ(FormatElapsed(0, (62 * 60 + 5) * 1000 + 500), "01:02:05.50\n");
    EXPECT_EQ(FormatElapsed(0, 59999), "00:00:60.00\n");
    EXPECT_EQ(FormatElapsed(INT_MAX - 10, INT_MIN + 990), "00:00:01.00\n");  // clock wrapped
}

std::string Ship(float mass = 900.0f) {
    ShipBytes ship;
    ship.Property("unit_Ship", 1.0f)
        .Property("mass", mass)
        .Property("gc_height", 4.0f)
        .Property("LR", 0.25f)
        .Property("max_speed", 15.0f)
        .Property("eng_power", 1000.0f)
        .Property("drag", 0.1f);
    return ship.str();
}

constexpr char kContinue[] = "yes-no: File error.\nShall I continue?";

class PatchRunTest : public testing::WorkingFoldersTest {
  protected:
    void SetUp() override {
        WorkingFoldersTest::SetUp();
        state.pathChosen = 1;
        state.gravityHeightText = "5";
        table.entries[kGcHeight].newValue = 5.0f;
    }

    std::string AddShip(const std::string& name, float mass = 900.0f) {
        WriteFile(root + name, Ship(mass));
        return root + name;
    }
    void WriteCatalogue(const std::string& text) { WriteFile(start + "/DIR4.TXT", text); }
    std::string Report() const { return ReadFile(start + "/SEARCHPLAINTEXT.TXT"); }

    PatchRunOutcome Run() {
        std::deque<std::int32_t> ticks = {1000, 66250};
        PatchRun run(state, port, table, buffer, [ticks]() mutable {
            const std::int32_t now = ticks.front();
            if (ticks.size() > 1) {
                ticks.pop_front();
            }
            return now;
        });
        return run.RunPatch();
    }

    ParameterTable table;
    FileBuffer buffer;
};

TEST_F(PatchRunTest, RebuildsPatchesEveryFileAndSummarises) {
    const std::string a = AddShip("A.SIM");
    const std::string b = AddShip("B.SIM");
    WriteFile(start + "/SEARCHRES.TXT", "old results");
    state.remakeCatalogue = 1;

    EXPECT_EQ(Run(), PatchRunOutcome::kSummary);
    EXPECT_EQ(port.events,
              (std::vector<std::string>{
                  "status: Generating files.", "status: Sorting", "status: Ready",
                  "message: Successfully completed construction of 'DIR4.TXT' look-up files.\n"
                  " 2 files found.",
                  "status: Searching...", "status: Searching file #1", "status: Searching file #2",
                  "status: Ready", "beep: ",
                  "message: Search complete.\nNo. of sim files examined was 2.\n"
                  "Time taken for search was 00:01:05.25\n\n"}));
    EXPECT_EQ(ReadFile(start + "/SEARCHRES.TXT"), "");
    const std::string report = Report();
    EXPECT_EQ(report.find("\r\nFile " + a + " found.\r\n"), 0u);
    EXPECT_NE(report.find("\r\nFile " + b + " found.\r\n"), std::string::npos);
    EXPECT_EQ(state.fileCount, 2u);
    EXPECT_EQ(port.wait.Count(), 0);
    EXPECT_NE(ReadFile(a), Ship());
}

TEST_F(PatchRunTest, AllDefaultsRefuseAfterTheRebuild) {
    AddShip("A.SIM");
    state.remakeCatalogue = 1;
    state.gravityHeightText = "0";
    EXPECT_EQ(Run(), PatchRunOutcome::kStopped);
    EXPECT_EQ(port.Of("message").back(),
              "You must select a SEARCH item \nBEFORE you use the Search routines!");
    EXPECT_NE(ReadFile(start + "/DIR4.TXT"), "");
    EXPECT_EQ(Report(), "");

    port.events.clear();
    state.remakeCatalogue = 0;
    state.gravityHeightText = "0.0";  // not the default text, so the run goes ahead
    EXPECT_EQ(Run(), PatchRunOutcome::kSummary);
}

TEST_F(PatchRunTest, MissingCatalogueIsOfferedAndTheCommandEnds) {
    AddShip("A.SIM");
    port.answers = {false};
    EXPECT_EQ(Run(), PatchRunOutcome::kStopped);
    EXPECT_EQ(port.events,
              std::vector<std::string>{"yes-no: Cannot open 'dir4.txt'.\nShall I create it?"});

    port.events.clear();
    port.answers = {true};
    EXPECT_EQ(Run(), PatchRunOutcome::kStopped);
    EXPECT_EQ(port.Of("status"),
              (std::vector<std::string>{"Generating files.", "Sorting", "Ready"}));
    EXPECT_EQ(ReadFile(start + "/DIR4.TXT"), root + "\r\n" + root + "A.SIM\r\n1 = No. of files");
    EXPECT_EQ(Report(), "");
}

TEST_F(PatchRunTest, HeaderMustMatchTheChosenRootOrIsAdopted) {
    WriteCatalogue("");
    EXPECT_EQ(Run(), PatchRunOutcome::kStopped);
    EXPECT_EQ(port.Of("message"),
              std::vector<std::string>{
                  "Header for 'DIR4.TXT' (NUL) does not match subdirectory you selected."});

    // Without Set Path the header becomes the root folder, and stays so.
    const std::string a = AddShip("A.SIM");
    WriteCatalogue(root + "\r\n" + a + "\r\n1 = No. of files");
    state.pathChosen = 0;
    state.rootPath = "/elsewhere/";
    port.events.clear();
    EXPECT_EQ(Run(), PatchRunOutcome::kSummary);
    EXPECT_EQ(state.rootPath, root);
    EXPECT_EQ(state.pathChosen, 0);
}

TEST_F(PatchRunTest, LetterCaseOnlyHeaderPassesButNoLineMatches) {
    std::string upper = root;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    WriteCatalogue(upper + "\r\n" + upper + "A.SIM\r\n" + upper + "B.SIM\r\n2 = No. of files");
    EXPECT_EQ(Run(), PatchRunOutcome::kSummary);
    EXPECT_EQ(port.Of("message"),
              (std::vector<std::string>{"Discrepancy between files saved 2 and files searched 0.\n"
                                        "Probably need to re-make sub-directories.",
                                        "Search complete.\nNo. of sim files examined was 0.\n"
                                        "Time taken for search was 00:01:05.25\n\n"}));
    EXPECT_EQ(Report(), "");
}

TEST_F(PatchRunTest, CountLineDecidesTheSummary) {
    const std::string a = AddShip("A.SIM");
    const std::string b = AddShip("B.SIM");
    // No count line: the count stays 0, so a discrepancy and no summary.
    WriteCatalogue(root + "\r\n" + a + "\r\n" + b + "\r\n");
    EXPECT_EQ(Run(), PatchRunOutcome::kStopped);
    EXPECT_EQ(port.Of("message"),
              std::vector<std::string>{"Discrepancy between files saved 0 and files searched 2.\n"
                                       "Probably need to re-make sub-directories."});
    EXPECT_TRUE(port.Of("beep").empty());

    port.events.clear();
    WriteCatalogue(root + "\r\n0 = No. of files");
    EXPECT_EQ(Run(), PatchRunOutcome::kStopped);
    EXPECT_EQ(port.Of("message"),
              std::vector<std::string>{"No files found! Set path to a different folder and "
                                       "re-make directory structure."});
}

TEST_F(PatchRunTest, FileErrorAsksAndNoEndsTheLoop) {
    const std::string a = AddShip("A.SIM");
    const std::string walkError = "Cannot change directory to..." + root + "locked (level = 1)";
    const std::string c = AddShip("C.SIM");
    WriteCatalogue(root + "\r\n" + a + "\r\n" + walkError + "\r\n" + c + "\r\n2 = No. of files");
    port.answers = {false};

    EXPECT_EQ(Run(), PatchRunOutcome::kStopped);
    EXPECT_EQ(port.events, (std::vector<std::string>{
                               "status: Searching...", "status: Searching file #1",
                               "message: Error in opening file " + walkError + " from 'DIR4.TXT'.",
                               kContinue, "status: Ready",
                               "message: Discrepancy between files saved 0 and files searched 1.\n"
                               "Probably need to re-make sub-directories."}));
    EXPECT_EQ(ReadFile(c), Ship());

    // Yes goes on with the next line, and the number shown does not advance for the failure.
    port.events.clear();
    port.answers = {true};
    EXPECT_EQ(Run(), PatchRunOutcome::kSummary);
    EXPECT_EQ(port.Of("status"),
              (std::vector<std::string>{"Searching...", "Searching file #1", "Searching file #1",
                                        "Searching file #2", "Ready"}));
}

TEST_F(PatchRunTest, EscapeAfterTheSecondFileEndsTheReport) {
    const std::string a = AddShip("A.SIM");
    const std::string b = AddShip("B.SIM");
    const std::string c = AddShip("C.SIM");
    WriteCatalogue(root + "\r\n" + a + "\r\n" + b + "\r\n" + c + "\r\n3 = No. of files");
    port.escapeOnDrain = {1, 3};  // the first drain, before the loop, is spent

    EXPECT_EQ(Run(), PatchRunOutcome::kEscaped);
    EXPECT_EQ(port.Of("message"),
              std::vector<std::string>{"Escape pressed. Incomplete search and exit."});
    const std::string report = Report();
    const std::string last = "\r\nEscape pressed. Incomplete search.";
    EXPECT_EQ(report.substr(report.size() - last.size()), last);
    EXPECT_NE(report.find("File " + b + " found."), std::string::npos);
    EXPECT_EQ(report.find("File " + c), std::string::npos);
    EXPECT_EQ(ReadFile(c), Ship());
    EXPECT_EQ(port.wait.Count(), 0);
}

TEST_F(PatchRunTest, LongRootFolderMatchesItsOwnHeader) {
    root = top / (std::string(150, 'r') + "/" + std::string(200, 's') + "/");
    MakeFolders(root);
    state.rootPath = root;
    const std::string a = AddShip("A.SIM");
    WriteCatalogue(root + "\r\n" + a + "\r\n1 = No. of files");
    EXPECT_EQ(Run(), PatchRunOutcome::kSummary);
    EXPECT_NE(Report().find("File " + a + " found."), std::string::npos);
}

TEST_F(PatchRunTest, WorkingFilesThatCannotBeCreatedStopTheRun) {
    const std::string a = AddShip("A.SIM");
    WriteCatalogue(root + "\r\n" + a + "\r\n1 = No. of files");
    MakeFolders(start + "/SEARCHRES.TXT");  // a folder cannot be emptied as a file
    EXPECT_EQ(Run(), PatchRunOutcome::kStopped);
    EXPECT_EQ(port.events, (std::vector<std::string>{"message: Cannot open output file " + start +
                                                         "/SEARCHRES.TXT. Already open elsewhere?",
                                                     "status:  "}));

    ::rmdir((start + "/SEARCHRES.TXT").c_str());
    MakeFolders(start + "/SEARCHPLAINTEXT.TXT");
    port.events.clear();
    EXPECT_EQ(Run(), PatchRunOutcome::kStopped);
    EXPECT_EQ(port.events,
              (std::vector<std::string>{"message: Cannot open plain text output file " + start +
                                            "/SEARCHPLAINTEXT.TXT. Already open elsewhere?",
                                        "status:  "}));
    EXPECT_EQ(state.reportPath, start + "/SEARCHPLAINTEXT.TXT");
    EXPECT_EQ(ReadFile(a), Ship());
}

}  // namespace
}  // namespace fennory
