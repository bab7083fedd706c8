#include "results/results_printer.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "common/paths.h"
#include "support/cups_server.h"
#include "support/temp_dir.h"
#include "support/working_folders_test.h"
#include "view/view_state.h"

namespace fennory {
namespace {

using testing::WriteFile;

constexpr char kSent[] = "Results sent to printer.";
constexpr char kPrinterError[] = "Printer error. Is it connected and powered?";

// Saves an environment variable and puts it back when the test ends.
class EnvironmentGuard {
  public:
    explicit EnvironmentGuard(const char* name) : name_(name) {
        if (const char* value = std::getenv(name)) {
            saved_ = value;
            had_ = true;
        }
    }
    ~EnvironmentGuard() {
        if (had_) {
            ::setenv(name_, saved_.c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;

  private:
    const char* name_;
    std::string saved_;
    bool had_ = false;
};

class PrintResultsTest : public testing::WorkingFoldersTest {
  protected:
    void SetUp() override {
        WorkingFoldersTest::SetUp();
        ::unsetenv("PRINTER");
        ::unsetenv("LPDEST");
    }

    bool Print(const std::string& report) {
        WriteFile(start + "/SEARCHPLAINTEXT.TXT", report);
        port.answers = {true};
        port.events.clear();
        return OnPrintResults(state, port);
    }

    EnvironmentGuard server{"CUPS_SERVER"}, destination{"LPDEST"}, printer{"PRINTER"}, path{"PATH"};
};

TEST_F(PrintResultsTest, ReportReachesTheSpoolerByteForByte) {
    testing::CupsServer cups;
    std::string why;
    if (!cups.Start(why)) {
        GTEST_SKIP() << "no print spooler here: " << why;
    }
    ::setenv("LPDEST", testing::CupsServer::kQueue, 1);

    const std::string report = "\r\nFile /ships/100%s%d.SIM found.\r\nParameter mass found.\r\n" +
                               std::string(1500, 'L') + "\r\nlone\nline feed\r\n";
    ASSERT_TRUE(Print(report));
    EXPECT_EQ(port.events, (std::vector<std::string>{"ok-cancel: Print results.\nAre you sure?",
                                                     std::string("message: ") + kSent}));
    const std::string expected = "\r\nFile /ships/100%s%d.SIM found.\r\nParameter mass found.\r\n" +
                                 std::string(1500, 'L') + "\r\nlone\r\nline feed\r\n\f";
    EXPECT_EQ(cups.WaitForBytes(expected.size(), std::chrono::seconds(30)), expected);
    EXPECT_EQ(CurrentDirectory() + "/", root);

    // An empty report sends the form feed alone.
    cups.ClearReceived();
    ASSERT_TRUE(Print(""));
    EXPECT_EQ(cups.WaitForBytes(1, std::chrono::seconds(30)), "\f");

    // Without a destination the spooler refuses the job, and that is no success.
    ::unsetenv("LPDEST");
    EXPECT_FALSE(Print(report));
    EXPECT_EQ(port.Of("message"), std::vector<std::string>{kPrinterError});
}

TEST_F(PrintResultsTest, SpoolerThatCannotPrintGivesThePrinterError) {
    // No scheduler behind the socket.
    ::setenv("CUPS_SERVER", (top / "no-scheduler.sock").c_str(), 1);
    ::setenv("LPDEST", "anything", 1);
    EXPECT_FALSE(Print("text\r\n"));
    EXPECT_EQ(port.Of("message"), std::vector<std::string>{kPrinterError});
    EXPECT_EQ(CurrentDirectory() + "/", root);

    // No spooler program at all.
    testing::MakeFolders(top / "empty-bin");
    ::setenv("PATH", (top / "empty-bin").c_str(), 1);
    EXPECT_FALSE(Print("text\r\n"));
    EXPECT_EQ(port.Of("message"), std::vector<std::string>{kPrinterError});
}

TEST_F(PrintResultsTest, CancelOrAMissingReportPrintsNothing) {
    const std::string before = CurrentDirectory();
    port.answers = {false};
    EXPECT_FALSE(OnPrintResults(state, port));
    EXPECT_EQ(port.events, std::vector<std::string>{"ok-cancel: Print results.\nAre you sure?"});
    EXPECT_EQ(CurrentDirectory(), before);

    port.answers = {true};
    EXPECT_FALSE(OnPrintResults(state, port));
    EXPECT_EQ(port.Of("message"),
              std::vector<std::string>{"Cannot open file 'SEARCHPLAINTEXT.TXT' to print results."});
    EXPECT_EQ(CurrentDirectory(), start);
}

}  // namespace
}  // namespace fennory
