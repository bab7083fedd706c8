// fennory-batch as a process: whole runs on real folders, exit statuses, Ctrl+C.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "fleet/fleet_generator.h"
#include "patch/property_search.h"
#include "support/cups_server.h"
#include "support/process.h"
#include "support/ship_bytes.h"
#include "support/temp_dir.h"

namespace fennory {
namespace {

using testing::MakeFolders;
using testing::ProcessResult;
using testing::ReadFile;
using testing::RunProcess;
using testing::ShipBytes;
using testing::WriteFile;

const std::string kBatch = FENNORY_BATCH_PATH;

ShipBytes Ship(float mass, float maxSpeed, float gc, float lr, float eng, float drag) {
    ShipBytes ship;
    ship.Fill(16, 'h')
        .Property("unit_Ship", 3.0f)
        .Property("mass", mass)
        .Fill(7, 'x')
        .Property("gc_height", gc)
        .Property("LR", lr)
        .Property("max_speed", maxSpeed)
        .Fill(3, 'y')
        .Property("eng_power", eng)
        .Property("drag", drag)
        .Fill(40, 't');
    return ship;
}

std::string WithoutTimes(const std::string& text) {
    static const std::regex kTime(
        "Time taken for search was [0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{2}");
    return std::regex_replace(text, kTime, "Time taken for search was <time>");
}

class BatchTest : public ::testing::Test {
  protected:
    void SetUp() override { MakeFolders(root); }

    ProcessResult Batch(std::vector<std::string> args) {
        args.insert(args.begin(), kBatch);
        return RunProcess(args, dir.path());
    }

    testing::TempDir dir;
    std::string root = dir / "ships/";
};

TEST_F(BatchTest, WholeRunGivesTheExpectedFilesByteForByte) {
    MakeFolders(root + "Convoy");
    WriteFile(root + "A.SIM", Ship(2500, 25, 4, 0.25f, 1000, 0.1f).str());
    WriteFile(root + "Convoy/B.sim", Ship(800, 12, 6, 0.2f, 3000, 0.3f).str());
    WriteFile(root + "light.SIM", Ship(100, 30, 4, 0.25f, 1000, 0.1f).str());
    WriteFile(root + "notes.txt", "not a ship");

    const ProcessResult result =
        Batch({"patch", "--root", "ships", "--remake", "--gc-height", "5", "--engine-power", "50",
               "--rudder-drag", "0.2", "--surface-drag", "0.3"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(WithoutTimes(result.out),
              "Successfully completed construction of 'DIR4.TXT' look-up files.\n 3 files found.\n"
              "Search complete.\nNo. of sim files examined was 3.\n"
              "Time taken for search was <time>\n\n");
    EXPECT_EQ(result.err, "");

    const float fastDrag = static_cast<float>(double{0.2f} + double{0.01f});
    EXPECT_EQ(ReadFile(root + "A.SIM"), Ship(2500, 25, 5, 0.3f, 500, fastDrag).str());
    EXPECT_EQ(ReadFile(root + "Convoy/B.sim"), Ship(800, 12, 5, 0.3f, 1500, 0.2f).str());
    EXPECT_EQ(ReadFile(root + "light.SIM"), Ship(100, 30, 4, 0.25f, 1000, 0.1f).str());
    EXPECT_EQ(ReadFile(root + "notes.txt"), "not a ship");

    EXPECT_EQ(ReadFile(dir / "DIR4.TXT"), root + "\r\n" + root + "A.SIM\r\n" + root +
                                              "Convoy/B.sim\r\n" + root +
                                              "light.SIM\r\n3 = No. of files");
    EXPECT_EQ(ReadFile(dir / "SEARCHRES.TXT"), "");
    const std::string found =
        "Parameter unit_Ship found.\r\nParameter mass found.\r\nParameter gc_height found.\r\n";
    EXPECT_EQ(ReadFile(dir / "SEARCHPLAINTEXT.TXT"),
              "\r\nFile " + root + "A.SIM found.\r\n" + found +
                  "And fixed. (Was  4.000, now  5.000)\r\n"
                  "Parameter LR found.\r\nAnd fixed. (Was  0.250, now  0.300)\r\n"
                  "Parameter max_speed found.\r\n"
                  "Parameter eng_power found.\r\nAnd fixed. (Was 1000.000, now 500.000)\r\n"
                  "Parameter drag found.\r\nAnd fixed. (Was  0.100, now  0.210)\r\n"
                  "\r\nFile " +
                  root + "Convoy/B.sim found.\r\n" + found +
                  "And fixed. (Was  6.000, now  5.000)\r\n"
                  "Parameter LR found.\r\nAnd fixed. (Was  0.200, now  0.300)\r\n"
                  "Parameter max_speed found.\r\n"
                  "Parameter eng_power found.\r\nAnd fixed. (Was 3000.000, now 1500.000)\r\n"
                  "Parameter drag found.\r\nAnd fixed. (Was  0.300, now  0.200)\r\n"
                  "\r\nFile " +
                  root + "light.SIM found.\r\n" + found +
                  "Parameter LR found.\r\nParameter max_speed found.\r\n"
                  "Parameter eng_power found.\r\nParameter drag found.\r\n");

    // A second run without --root adopts the catalogue's header.
    const ProcessResult again = Batch({"patch", "--gc-height", "6"});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(testing::FloatAt(ReadFile(root + "A.SIM"), 16 + 10 + 4 + 5 + 4 + 7 + 10), 6.0f);
}

TEST_F(BatchTest, ExitStatusTellsHowTheCommandEnded) {
    WriteFile(root + "A.SIM", Ship(2500, 15, 4, 0.25f, 1000, 0.1f).str());
    MakeFolders(dir / "empty");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string outStart;  // what standard output begins with
    };
    const Case cases[] = {
        {{}, 2, ""},
        {{"launch"}, 2, ""},
        {{"catalogue"}, 2, ""},
        {{"patch", "--yes", "--no"}, 2, ""},
        {{"patch", "--frobnicate"}, 2, ""},
        {{"patch", "--gc-height"}, 2, ""},
        {{"catalogue", "--root", "ships", "--remake"}, 2, ""},
        {{"report", "--yes"}, 2, ""},
        {{"print", "--restrict"}, 2, ""},
        {{"--help"}, 0, "usage: fennory-batch"},
        {{"--version"}, 0, "fennory-batch 1.7.7.1\n"},
        {{"patch", "--gc-height", "5"}, 1, "Cannot open 'dir4.txt'.\nShall I create it?\n"},
        {{"catalogue", "--root", "empty"}, 1, "No text files found!"},
        {{"catalogue", "--root", "ships"}, 0, "Successfully completed construction"},
        {{"patch", "--root", "ships"}, 1, "You must select a SEARCH item \nBEFORE"},
        {{"patch", "--root", "ships", "--engine-power", "101"},
         1,
         "Value for eng_power must lie in range 0-100%\n"},
        {{"patch", "--root", "ships", "--gc-height", "12345678901"},
         1,
         "Please enter no more than 10 characters.\n"},
        {{"patch", "--root", "empty", "--gc-height", "5"}, 1, "Header for 'DIR4.TXT' ("},
        {{"patch", "--root", "ships", "--gc-height=5"}, 0, "Search complete."},
        {{"patch", "--root", "ships/", "--gc-height", "5", "--restrict"}, 0, "Search complete."},
    };
    for (const Case& c : cases) {
        const ProcessResult result = Batch(c.args);
        std::string label;
        for (const std::string& arg : c.args) {
            label += arg + ' ';
        }
        EXPECT_EQ(result.status, c.status) << label << "\n" << result.out << result.err;
        EXPECT_EQ(result.out.substr(0, c.outStart.size()), c.outStart) << label;
        if (c.status == 2) {
            EXPECT_NE(result.err.find("usage: fennory-batch"), std::string::npos) << label;
        }
    }
}

TEST_F(BatchTest, ReportAndPrintReadThePatchReport) {
    EXPECT_EQ(Batch({"report"}).out,
              "Cannot open results file 'SEARCHPLAINTEXT'.\nIs it open elsewhere? \n");
    EXPECT_EQ(Batch({"report"}).status, 1);

    WriteFile(dir / "SEARCHPLAINTEXT.TXT", "\r\nFile x found.\r\n" + std::string(60000, 'z'));
    ProcessResult shown = Batch({"report"});
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(shown.out, "SEARCH RESULTS\n\nFile x found.\n" + std::string(60000, 'z'));
    shown = Batch({"report", "--restrict"});
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(shown.out, "SEARCH RESULTS (truncated to 50,000 chars.)\n\nFile x found.\n" +
                             std::string(50000 - 15, 'z'));

    // No: nothing printed. Yes without any scheduler: the printer error.
    const ProcessResult refused = Batch({"print", "--no"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "Print results.\nAre you sure?\n");
    ::setenv("CUPS_SERVER", (dir / "no-scheduler.sock").c_str(), 1);
    const ProcessResult failed = Batch({"print", "--yes"});
    ::unsetenv("CUPS_SERVER");
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out,
              "Print results.\nAre you sure?\nPrinter error. Is it connected and powered?\n");
}

TEST_F(BatchTest, PrintSendsTheReportToTheSpooler) {
    testing::CupsServer cups;
    std::string why;
    if (!cups.Start(why)) {
        GTEST_SKIP() << "no print spooler here: " << why;
    }
    WriteFile(dir / "SEARCHPLAINTEXT.TXT", "\r\nFile 50%s.SIM found.\r\n");
    ::setenv("LPDEST", testing::CupsServer::kQueue, 1);
    const ProcessResult printed = Batch({"print", "--yes"});
    ::unsetenv("LPDEST");
    ::unsetenv("CUPS_SERVER");
    EXPECT_EQ(printed.status, 0);
    EXPECT_EQ(printed.out, "Print results.\nAre you sure?\nResults sent to printer.\n");
    const std::string expected = "\r\nFile 50%s.SIM found.\r\n\f";
    EXPECT_EQ(cups.WaitForBytes(expected.size(), std::chrono::seconds(30)), expected);
}

TEST_F(BatchTest, CtrlCEndsTheRunBetweenFiles) {
    // Enough small files that the run is still going when the signal arrives.
    fleet::FleetOptions options;
    options.seed = 11;
    options.files = 20000;
    options.minBytes = 600;
    options.maxBytes = 1500;
    const auto ships = fleet::GenerateFleet(root, options).shipFiles;
    const std::string original = dir / "original/";
    fleet::GenerateFleet(original, options);

    const std::string report = dir / "SEARCHPLAINTEXT.TXT";
    const pid_t pid =
        testing::StartProcess({kBatch, "patch", "--root", "ships", "--remake", "--gc-height", "5"},
                              dir.path(), dir / "out", dir / "err");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    struct stat info {};
    while ((::stat(report.c_str(), &info) != 0 || info.st_size == 0) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ::kill(pid, SIGINT);
    ASSERT_EQ(testing::WaitForExit(pid), 130);

    const std::string out = ReadFile(dir / "out");
    const std::string last = "Escape pressed. Incomplete search and exit.\n";
    ASSERT_GE(out.size(), last.size());
    EXPECT_EQ(out.substr(out.size() - last.size()), last);
    const std::string text = ReadFile(report);
    const std::string escape = "\r\nEscape pressed. Incomplete search.";
    ASSERT_GE(text.size(), escape.size());
    EXPECT_EQ(text.substr(text.size() - escape.size()), escape);

    std::size_t patched = 0;
    for (const std::string& ship : ships) {
        const std::string now = ReadFile(ship);
        const std::string before = ReadFile(original + ship.substr(root.size()));
        const bool logged = text.find("\r\nFile " + ship + " found.\r\n") != std::string::npos;
        if (!logged) {
            EXPECT_EQ(now, before) << ship;
            continue;
        }
        ++patched;
        ASSERT_EQ(now.size(), before.size()) << ship;
        if (now != before) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(now.data());
            const PropertyMatch gc =
                FindProperty(bytes, "gc_height", static_cast<std::ptrdiff_t>(now.size()));
            ASSERT_TRUE(gc.found) << ship;
            EXPECT_EQ(LoadFloat(gc.value), 5.0f) << ship;
        }
    }
    EXPECT_GT(patched, 0u);
    EXPECT_LT(patched, ships.size());
}

}  // namespace
}  // namespace fennory
