// fennory-batch at a terminal: questions wait for y/n, progress shows on the terminal, and a
// second Ctrl+C ends the program at once.
#include <signal.h>

#include <gtest/gtest.h>

#include "support/pseudo_terminal.h"
#include "support/ship_bytes.h"
#include "support/temp_dir.h"

namespace fennory {
namespace {

using std::chrono::seconds;
using testing::TerminalSession;

const std::string kBatch = FENNORY_BATCH_PATH;

class BatchTerminalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::MakeFolders(dir / "ships");
        testing::ShipBytes ship;
        ship.Property("unit_Ship", 1.0f).Property("mass", 900.0f).Property("gc_height", 4.0f);
        testing::WriteFile(dir / "ships/A.SIM", ship.str());
    }

    testing::TempDir dir;
};

TEST_F(BatchTerminalTest, QuestionsWaitForTheAnswerTyped) {
    {
        TerminalSession session({kBatch, "patch", "--root", "ships", "--gc-height", "5"},
                                dir.path());
        ASSERT_TRUE(session.WaitFor("Shall I create it? [y/n] ", seconds(10))) << session.Screen();
        session.Type("maybe\ny\n");    // anything but y or n asks again
        EXPECT_EQ(session.Wait(), 1);  // the catalogue is built; the command ends there
        const std::string& screen = session.Screen();
        EXPECT_NE(screen.find("[y/n] ", screen.find("[y/n] ") + 1), std::string::npos) << screen;
        EXPECT_NE(session.Screen().find("1 files found."), std::string::npos) << session.Screen();
    }
    {
        // Now the run goes ahead, with its progress on the terminal.
        TerminalSession session({kBatch, "patch", "--root", "ships", "--gc-height", "5"},
                                dir.path());
        EXPECT_EQ(session.Wait(), 0);
        EXPECT_NE(session.Screen().find("Searching file #1  (1 of 1 files, 0:00)"),
                  std::string::npos)
            << session.Screen();
        EXPECT_NE(session.Screen().find("No. of sim files examined was 1."), std::string::npos);
    }
    {
        TerminalSession session({kBatch, "print"}, dir.path());
        ASSERT_TRUE(session.WaitFor("Are you sure? [y/n] ", seconds(10))) << session.Screen();
        session.Type("n\n");
        EXPECT_EQ(session.Wait(), 1);
        EXPECT_EQ(session.Screen().find("Printer"), std::string::npos);
    }
}

TEST_F(BatchTerminalTest, SecondCtrlCEndsTheProgramAtOnce) {
    TerminalSession session({kBatch, "print"}, dir.path());
    ASSERT_TRUE(session.WaitFor("[y/n] ", seconds(10)));
    session.Signal(SIGINT);  // the first only marks Escape; the question still waits
    const std::size_t shown = session.Screen().size();
    EXPECT_FALSE(session.WaitFor("Printer", seconds(1)));
    EXPECT_EQ(session.Screen().size(), shown);
    session.Signal(SIGINT);
    EXPECT_EQ(session.Wait(), 130);
}

}  // namespace
}  // namespace fennory
