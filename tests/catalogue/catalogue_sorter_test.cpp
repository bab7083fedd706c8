#include "catalogue/catalogue_sorter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "common/paths.h"
#include "support/scripted_port.h"
#include "support/temp_dir.h"
#include "view/view_state.h"

namespace fennory {
namespace {

using testing::ReadFile;
using testing::WriteFile;

TEST(ShellSortGaps, FollowTheHalvingSequenceDownToOne) {
    EXPECT_EQ(ShellSortGaps(999), (std::vector<std::size_t>{499, 249, 124, 62, 31, 15, 7, 3, 1}));
    EXPECT_EQ(ShellSortGaps(1000), (std::vector<std::size_t>{500, 250, 125, 62, 31, 15, 7, 3, 1}));
    EXPECT_EQ(ShellSortGaps(100), (std::vector<std::size_t>{50, 25, 12, 6, 3, 1}));
    EXPECT_TRUE(ShellSortGaps(0).empty());
    EXPECT_TRUE(ShellSortGaps(1).empty());
    // The pass count is the whole part of log2(n), so the last gap is always 1.
    for (std::size_t n = 2; n <= 300000; ++n) {
        const auto gaps = ShellSortGaps(n);
        ASSERT_EQ(gaps.size(), static_cast<std::size_t>(std::floor(std::log2(n)))) << n;
        ASSERT_EQ(gaps.back(), 1u) << n;
    }
}

TEST(ShellSortLines, OrdersWholeLinesByByteValue) {
    // '/' (47) is below every digit and letter, so a folder's files come before "Sub2" and
    // "SubA"; the line end (10) puts the header first; upper case sorts before lower case.
    std::vector<std::string> lines = {
        "/s/Sub/B.SIM\n",  "/s/a.sim\n", "/s/Sub2/A.SIM\n",    "/s/\n",
        "/s/SubA/C.SIM\n", "/s/Z.SIM\n", "/s/\xe9t\xe9.SIM\n", "/s/a.sim\n",
    };
    ShellSortLines(lines.size(), lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"/s/\n", "/s/Sub/B.SIM\n", "/s/Sub2/A.SIM\n",
                                               "/s/SubA/C.SIM\n", "/s/Z.SIM\n", "/s/a.sim\n",
                                               "/s/a.sim\n", "/s/\xe9t\xe9.SIM\n"}));
}

class SortCatalogueTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitialiseViewState(state);
        state.startDirectory = start.path();
        state.rootPath = start / "ships/";
        testing::MakeFolders(state.rootPath);
        catalogue = start / "DIR4.TXT";
    }

    testing::CurrentDirectoryGuard guard;
    testing::TempDir start;
    testing::ScriptedPort port;
    ViewState state;
    std::string catalogue;
};

TEST_F(SortCatalogueTest, KeepsRootLinesSortedAndTheCountLineLast) {
    const std::string& r = state.rootPath;
    const std::string longEntry = r + std::string(3000, 'L') + "/X.SIM";
    WriteFile(catalogue, r + "\r\n" + r + "b.SIM\r\nstray line\r\n" + r + "100%s%d.SIM\r\n" +
                             longEntry + "\r\n" + r + "A.SIM\n" + "Cannot change directory to..." +
                             r + "locked (level = 1)\r\n" + "  4 = No. of files");
    SortCatalogue(state, port);

    EXPECT_EQ(ReadFile(catalogue), r + "\r\n" + r + "100%s%d.SIM\r\n" + r + "A.SIM\r\n" +
                                       longEntry + "\r\n" + r + "b.SIM\r\n" +
                                       "Cannot change directory to..." + r +
                                       "locked (level = 1)\r\n" + "  4 = No. of files");
    EXPECT_EQ(state.fileCount, 4u);
    EXPECT_TRUE(port.events.empty());
    EXPECT_EQ(CurrentDirectory() + "/", state.rootPath);
}

TEST_F(SortCatalogueTest, KeepsEveryLineOfALargeCatalogue) {
    // More than the 1001 lines a fixed table would hold, count line included.
    const std::string& r = state.rootPath;
    std::string text = r + "\r\n";
    for (int i = 1500; i > 0; --i) {
        text += r + std::to_string(10000 + i) + ".SIM\r\n";
    }
    text += "1500 = No. of files";
    WriteFile(catalogue, text);
    SortCatalogue(state, port);

    const std::string sorted = ReadFile(catalogue);
    EXPECT_EQ(std::count(sorted.begin(), sorted.end(), '\n'), 1501);
    EXPECT_EQ(sorted.find(r + "10001.SIM\r\n" + r + "10002.SIM\r\n"), r.size() + 2);
    const std::string tail = r + "11500.SIM\r\n1500 = No. of files";
    EXPECT_EQ(sorted.substr(sorted.size() - tail.size()), tail);
    EXPECT_EQ(state.fileCount, 1500u);
}

TEST_F(SortCatalogueTest, WithoutACountLineNoneIsWrittenAndTheCountStays) {
    state.fileCount = 77;
    const std::string& r = state.rootPath;
    WriteFile(catalogue, r + "\r\n" + r + "B.SIM\r\n" + r + "A.SIM\r\n");
    SortCatalogue(state, port);
    EXPECT_EQ(ReadFile(catalogue), r + "\r\n" + r + "A.SIM\r\n" + r + "B.SIM\r\n");
    EXPECT_EQ(state.fileCount, 77u);
}

TEST_F(SortCatalogueTest, OpenFailuresLeaveTheFileAndTheStartDirectory) {
    // Nothing to read.
    SortCatalogue(state, port);
    EXPECT_EQ(port.Of("message"),
              std::vector<std::string>{"Cannot open 'DIR4.TXT' to save sorted files."});
    EXPECT_EQ(CurrentDirectory(), start.path());

    // Readable, not rewritable: stays unsorted, the count is still taken.
    const std::string& r = state.rootPath;
    const std::string unsorted = r + "\r\n" + r + "B.SIM\r\n" + r + "A.SIM\r\n2 = No. of files";
    WriteFile(catalogue, unsorted);
    ASSERT_EQ(::chmod(catalogue.c_str(), 0444), 0);
    if (const int probe = ::open(catalogue.c_str(), O_WRONLY); probe >= 0) {
        ::close(probe);
        GTEST_SKIP() << "this process may write read-only files";
    }
    SortCatalogue(state, port);
    EXPECT_EQ(port.Of("message").size(), 2u);
    EXPECT_EQ(ReadFile(catalogue), unsorted);
    EXPECT_EQ(state.fileCount, 2u);
    EXPECT_EQ(CurrentDirectory(), start.path());
}

}  // namespace
}  // namespace fennory
