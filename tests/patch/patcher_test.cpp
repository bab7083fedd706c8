#include "patch/patcher.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <string>

#include "common/deferred_append_stream.h"
#include "common/file_io.h"
#include "support/scripted_port.h"
#include "support/ship_bytes.h"
#include "support/temp_dir.h"
#include "view/view_state.h"

namespace fennory {
namespace {

using testing::FloatAt;
using testing::ReadFile;
using testing::ShipBytes;
using testing::WriteFile;

// A ship with all seven properties, some filler between them.
ShipBytes StandardShip(float mass, float maxSpeed, float enginePower = 1200.0f) {
    ShipBytes ship;
    ship.Fill(3)
        .Property("unit_Ship", 7.0f)
        .Fill(5)
        .Property("mass", mass)
        .Property("gc_height", 4.0f)
        .Fill(2)
        .Property("LR", 0.25f)
        .Property("max_speed", maxSpeed)
        .Property("eng_power", enginePower)
        .Fill(4)
        .Property("drag", 0.1f)
        .Fill(3);
    return ship;
}

std::size_t ValueOffset(const std::string& bytes, const std::string& name, std::size_t from = 0) {
    return bytes.find(name + '\0', from) + name.size() + 1;
}

class PatcherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitialiseViewState(state);
        state.reportPath = dir / "SEARCHPLAINTEXT.TXT";
        ASSERT_TRUE(TruncateFile(state.reportPath));
        ASSERT_TRUE(runStream.Open(state.reportPath));
    }

    void SetNewValues(float gcHeight, float surfaceDrag, float enginePower, float rudderDrag) {
        table.entries[kGcHeight].newValue = gcHeight;
        table.entries[kSurfaceDrag].newValue = surfaceDrag;
        table.entries[kEnginePower].newValue = enginePower;
        table.entries[kRudderDrag].newValue = rudderDrag;
    }

    std::string Ship(const std::string& name, const ShipBytes& ship) {
        const std::string path = dir / name;
        WriteFile(path, ship.str());
        return path;
    }

    bool Patch(const std::string& path) { return patcher.PatchFile(path, examined, runStream); }

    std::string Report() {
        runStream.Close();
        return ReadFile(state.reportPath);
    }

    testing::TempDir dir;
    testing::ScriptedPort port;
    ViewState state;
    ParameterTable table;
    FileBuffer buffer;
    Patcher patcher{state, port, table, buffer};
    DeferredAppendStream runStream;
    std::uint32_t examined = 0;
};

TEST_F(PatcherTest, WritesTheEntryAndStoresTheNewValues) {
    SetNewValues(5.0f, 0.0f, 50.0f, 0.2f);
    const ShipBytes ship = StandardShip(2500.0f, 15.0f);
    const std::string path = Ship("A.SIM", ship);

    ASSERT_TRUE(Patch(path));
    EXPECT_EQ(examined, 1u);
    EXPECT_TRUE(port.events.empty());
    EXPECT_EQ(Report(), "\r\nFile " + path +
                            " found.\r\n"
                            "Parameter unit_Ship found.\r\n"
                            "Parameter mass found.\r\n"
                            "Parameter gc_height found.\r\n"
                            "And fixed. (Was  4.000, now  5.000)\r\n"
                            "Parameter LR found.\r\n"
                            "Parameter max_speed found.\r\n"
                            "Parameter eng_power found.\r\n"
                            "And fixed. (Was 1200.000, now 600.000)\r\n"
                            "Parameter drag found.\r\n"
                            "And fixed. (Was  0.100, now  0.200)\r\n");

    const std::string after = ReadFile(path);
    ASSERT_EQ(after.size(), ship.size());
    EXPECT_EQ(FloatAt(after, ValueOffset(after, "gc_height")), 5.0f);
    EXPECT_EQ(FloatAt(after, ValueOffset(after, "LR")), 0.25f);
    EXPECT_EQ(FloatAt(after, ValueOffset(after, "eng_power")), 600.0f);
    EXPECT_EQ(FloatAt(after, ValueOffset(after, "drag")), 0.2f);
}

TEST_F(PatcherTest, AppliesTheGatesAndTheDragIncrement) {
    struct Case {
        const char* label;
        float mass, maxSpeed;
        float gcHeight, surfaceDrag, enginePower, rudderDrag;  // new values
        float wantGc, wantSurface, wantEngine, wantDrag;
    };
    const float drag = 0.2f;
    const float dragPlus = static_cast<float>(double{0.2f} + double{0.01f});
    const float aboveLimit = std::nextafter(19.5f, 100.0f);
    const Case cases[] = {
        {"mass exactly 500", 500.0f, 15.0f, 5.0f, 0.3f, 50.0f, drag, 5.0f, 0.3f, 600.0f, drag},
        {"mass below 500", 499.99f, 25.0f, 5.0f, 0.3f, 50.0f, drag, 4.0f, 0.25f, 1200.0f, 0.1f},
        {"max_speed exactly 19.5", 900.0f, 19.5f, 0, 0, 0, drag, 4.0f, 0.25f, 1200.0f, drag},
        {"max_speed just above 19.5", 900.0f, aboveLimit, 0, 0, 0, drag, 4.0f, 0.25f, 1200.0f,
         dragPlus},
        {"zero means no change", 900.0f, 25.0f, 0, 0, 0, 0, 4.0f, 0.25f, 1200.0f, 0.1f},
        {"0.00005 is below the threshold, 0.0001 is not", 900.0f, 15.0f, 0.00005f, 0.0001f, 0, 0,
         4.0f, 0.0001f, 1200.0f, 0.1f},
        {"negative new values count by magnitude", 900.0f, 15.0f, -1.0f, 0, 0, 0, -1.0f, 0.25f,
         1200.0f, 0.1f},
    };
    int n = 0;
    for (const Case& c : cases) {
        SetNewValues(c.gcHeight, c.surfaceDrag, c.enginePower, c.rudderDrag);
        const ShipBytes ship = StandardShip(c.mass, c.maxSpeed);
        const std::string path = Ship("case" + std::to_string(n++) + ".SIM", ship);
        ASSERT_TRUE(Patch(path)) << c.label;
        const std::string after = ReadFile(path);
        EXPECT_EQ(FloatAt(after, ValueOffset(after, "gc_height")), c.wantGc) << c.label;
        EXPECT_EQ(FloatAt(after, ValueOffset(after, "LR")), c.wantSurface) << c.label;
        EXPECT_EQ(FloatAt(after, ValueOffset(after, "eng_power")), c.wantEngine) << c.label;
        EXPECT_EQ(FloatAt(after, ValueOffset(after, "drag")), c.wantDrag) << c.label;
        EXPECT_EQ(after.size(), ship.size()) << c.label;
    }
}

TEST_F(PatcherTest, LightOrMasslessShipsAreLoggedButKeptByteForByte) {
    SetNewValues(5.0f, 0.3f, 50.0f, 0.2f);
    const ShipBytes light = StandardShip(120.0f, 25.0f);
    ShipBytes massless;
    massless.Property("unit_Ship", 1.0f).Property("gc_height", 4.0f).Property("drag", 0.1f);
    const std::string lightPath = Ship("light.SIM", light);
    const std::string masslessPath = Ship("massless.SIM", massless);

    ASSERT_TRUE(Patch(lightPath));
    ASSERT_TRUE(Patch(masslessPath));
    EXPECT_EQ(ReadFile(lightPath), light.str());
    EXPECT_EQ(ReadFile(masslessPath), massless.str());
    const std::string report = Report();
    EXPECT_EQ(report.find("And fixed"), std::string::npos);
    EXPECT_NE(report.find("Parameter mass not found!\r\n"), std::string::npos);
}

TEST_F(PatcherTest, SearchesInTableOrderAndRestartsAfterAMiss) {
    SetNewValues(0, 0, 50.0f, 0.2f);
    // "drag" only before "eng_power": searched from the eng_power value, so not found.
    ShipBytes dragFirst;
    dragFirst.Property("unit_Ship", 1.0f)
        .Property("mass", 900.0f)
        .Property("drag", 0.1f)
        .Property("eng_power", 1000.0f);
    // No "LR": max_speed is then searched from the first byte and found in front of everything.
    ShipBytes noSurfaceDrag;
    noSurfaceDrag.Property("max_speed", 25.0f)
        .Property("unit_Ship", 1.0f)
        .Property("mass", 900.0f)
        .Property("gc_height", 3.0f)
        .Property("eng_power", 1000.0f)
        .Property("drag", 0.1f);
    const std::string first = Ship("first.SIM", dragFirst);
    const std::string second = Ship("second.SIM", noSurfaceDrag);
    ASSERT_TRUE(Patch(first));
    ASSERT_TRUE(Patch(second));

    const std::string report = Report();
    const std::size_t secondEntry = report.find("File " + second);
    EXPECT_NE(report.substr(0, secondEntry).find("Parameter drag not found!\r\n"),
              std::string::npos);
    EXPECT_EQ(FloatAt(ReadFile(first), ValueOffset(ReadFile(first), "drag")), 0.1f);
    const std::string after = ReadFile(second);
    EXPECT_NE(report.find("Parameter LR not found!\r\nParameter max_speed found.\r\n", secondEntry),
              std::string::npos);
    EXPECT_EQ(FloatAt(after, ValueOffset(after, "drag")),
              static_cast<float>(double{0.2f} + double{0.01f}));
}

TEST_F(PatcherTest, EmptyFileGetsSevenMissesAndStaysEmpty) {
    SetNewValues(5.0f, 0.3f, 50.0f, 0.2f);
    const std::string path = Ship("empty.SIM", ShipBytes());
    ASSERT_TRUE(Patch(path));
    const std::string report = Report();
    EXPECT_EQ(report, "\r\nFile " + path +
                          " found.\r\n"
                          "Parameter unit_Ship not found!\r\nParameter mass not found!\r\n"
                          "Parameter gc_height not found!\r\nParameter LR not found!\r\n"
                          "Parameter max_speed not found!\r\nParameter eng_power not found!\r\n"
                          "Parameter drag not found!\r\n");
    EXPECT_EQ(ReadFile(path), "");
}

TEST_F(PatcherTest, ValueCutOffByTheEndOfTheDataCountsAsNotFound) {
    SetNewValues(5.0f, 0.3f, 50.0f, 0.2f);
    ShipBytes truncated;
    truncated.Property("mass", 900.0f).Raw(std::string("drag\0ab", 7));
    const std::string path = Ship("cut.SIM", truncated);
    ASSERT_TRUE(Patch(path));
    EXPECT_EQ(ReadFile(path), truncated.str());
    EXPECT_NE(Report().find("Parameter drag not found!\r\n"), std::string::npos);
}

TEST_F(PatcherTest, OpenFailureComesBeforeTheNameCheck) {
    testing::CurrentDirectoryGuard guard;
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    WriteFile(dir / "HERE.SIM", StandardShip(900.0f, 15.0f).str());

    EXPECT_FALSE(Patch("/no/such/folder/X.SIM"));
    EXPECT_FALSE(Patch("MISSING.SIM"));
    EXPECT_FALSE(Patch("HERE.SIM"));
    EXPECT_EQ(port.Of("message"),
              (std::vector<std::string>{
                  "Error in opening file /no/such/folder/X.SIM from 'DIR4.TXT'.",
                  "Error in opening file MISSING.SIM from 'DIR4.TXT'.",
                  "Cannot extract file name from full path name.",
              }));
    EXPECT_EQ(examined, 0u);
    EXPECT_EQ(Report(), "");
}

TEST_F(PatcherTest, UnwritableFileKeepsItsBytesAndSaysSo) {
    SetNewValues(5.0f, 0.3f, 50.0f, 0.2f);
    const ShipBytes ship = StandardShip(900.0f, 15.0f);
    const std::string path = Ship("locked.SIM", ship);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const int probe = ::open(path.c_str(), O_RDWR);
    if (probe >= 0) {
        ::close(probe);
        GTEST_SKIP() << "this process may write read-only files";
    }

    ASSERT_TRUE(Patch(path));
    EXPECT_EQ(examined, 1u);
    EXPECT_EQ(ReadFile(path), ship.str());
    const std::string report = Report();
    const std::string last =
        "And fixed. (Was  0.100, now  0.200)\r\n"
        "Cannot open the output file '" +
        path + "' to save revised file.\r\n";
    ASSERT_GE(report.size(), last.size());
    EXPECT_EQ(report.substr(report.size() - last.size()), last);
}

TEST_F(PatcherTest, ReadErrorLineLandsAfterEveryEntryOfTheRun) {
    const std::string a = Ship("A.SIM", StandardShip(900.0f, 15.0f));
    const std::string folder = dir / "FOLDER.SIM";  // opens, but reading it fails
    testing::MakeFolders(folder);
    const std::string b = Ship("B.SIM", StandardShip(900.0f, 15.0f));

    ASSERT_TRUE(Patch(a));
    ASSERT_TRUE(Patch(folder));
    ASSERT_TRUE(Patch(b));
    EXPECT_EQ(examined, 3u);
    const std::string report = Report();
    const std::string error = "ERROR IN READING A LINE OF DATA.\r\n";
    ASSERT_GE(report.size(), error.size());
    EXPECT_EQ(report.substr(report.size() - error.size()), error);
    EXPECT_LT(report.find("File " + a), report.find("File " + b));
    EXPECT_EQ(report.find(folder), std::string::npos);
}

TEST_F(PatcherTest, ReadLimitBoundsTheSearchNotTheFile) {
    SetNewValues(5.0f, 0.3f, 50.0f, 0.2f);
    // The first mass value ends 4 bytes past the restricted limit.
    ShipBytes nearLimit;
    nearLimit.Fill(kRestrictedReadLimit - 5).Property("mass", 900.0f).Fill(100);
    const std::string path = Ship("near.SIM", nearLimit);
    state.restrictResults = 1;
    ASSERT_TRUE(Patch(path));
    state.restrictResults = 0;
    ASSERT_TRUE(Patch(path));
    const std::string report = Report();
    const std::size_t second = report.find("File", report.find("File") + 1);
    EXPECT_NE(report.substr(0, second).find("Parameter mass not found!"), std::string::npos);
    EXPECT_NE(report.find("Parameter mass found.", second), std::string::npos);

    // A file longer than the read limit: the head is patched in place, the tail is untouched,
    // and the file keeps its length, mode and inode.
    ShipBytes big = StandardShip(900.0f, 15.0f);
    big.Fill(kReadLimit - big.size() + 10, 'z').Property("gc_height", 9.0f).Fill(100000, 'y');
    const std::string bigPath = Ship("big.SIM", big);
    ASSERT_EQ(::chmod(bigPath.c_str(), 0640), 0);
    struct stat before {};
    ASSERT_EQ(::stat(bigPath.c_str(), &before), 0);
    std::uint32_t count = 0;
    DeferredAppendStream stream;
    ASSERT_TRUE(patcher.PatchFile(bigPath, count, stream));

    const std::string after = ReadFile(bigPath);
    ASSERT_EQ(after.size(), big.size());
    EXPECT_EQ(FloatAt(after, ValueOffset(after, "gc_height")), 5.0f);
    EXPECT_EQ(after.substr(kReadLimit), big.str().substr(kReadLimit));
    EXPECT_EQ(FloatAt(after, ValueOffset(after, "gc_height", kReadLimit)), 9.0f);
    struct stat now {};
    ASSERT_EQ(::stat(bigPath.c_str(), &now), 0);
    EXPECT_EQ(now.st_ino, before.st_ino);
    EXPECT_EQ(now.st_mode, before.st_mode);
}

TEST_F(PatcherTest, UnopenableReportLeavesTheFileAlone) {
    SetNewValues(5.0f, 0.3f, 50.0f, 0.2f);
    const ShipBytes ship = StandardShip(900.0f, 15.0f);
    const std::string path = Ship("A.SIM", ship);
    state.reportPath = dir / "no-such-folder/SEARCHPLAINTEXT.TXT";

    EXPECT_FALSE(Patch(path));
    EXPECT_EQ(examined, 0u);
    EXPECT_EQ(ReadFile(path), ship.str());
    EXPECT_EQ(port.Of("message"),
              std::vector<std::string>{"Cannot open the patch report '" + state.reportPath +
                                       "' for appending.\nFile " + path + " was not patched."});
}

TEST_F(PatcherTest, FailedWriteIsReportedInTheEntry) {
    SetNewValues(5.0f, 0.3f, 50.0f, 0.2f);
    ShipBytes ship;
    ship.Property("unit_Ship", 1.0f)
        .Property("mass", 900.0f)
        .Fill(9000)
        .Property("gc_height", 4.0f);
    const std::string path = Ship("far.SIM", ship);

    // A file-size limit below the changed value's offset makes the write fail.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 8192;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool handled = Patch(path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(handled);
    EXPECT_EQ(ReadFile(path), ship.str());
    const std::string report = Report();
    EXPECT_NE(report.find("And fixed. (Was  4.000, now  5.000)\r\n"
                          "Parameter LR not found!\r\n"
                          "Parameter max_speed not found!\r\n"
                          "Parameter eng_power not found!\r\n"
                          "Parameter drag not found!\r\n"
                          "Error in saving revised file '" +
                          path + "': not every changed value could be written.\r\n"),
              std::string::npos);
}

TEST_F(PatcherTest, PercentSignsInPathsAreWrittenUnchanged) {
    const std::string path = Ship("100%s%d%n.SIM", StandardShip(900.0f, 15.0f));
    ASSERT_TRUE(Patch(path));
    EXPECT_EQ(Report().find("\r\nFile " + path + " found.\r\n"), 0u);
}

}  // namespace
}  // namespace fennory
