#include "view/view_state.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include "support/scripted_port.h"
#include "support/temp_dir.h"
#include "view/fennory_view.h"
#include "view/wait_nesting.h"

namespace fennory {
namespace {

using testing::CurrentDirectoryGuard;
using testing::TempDir;

TEST(ViewState, FirstInitialisationGivesTheStartValues) {
    CurrentDirectoryGuard guard;
    TempDir start;
    ASSERT_EQ(::chdir(start.path().c_str()), 0);
    ViewState state;
    state.rootPath = "left over";
    state.pathChosen = 1;
    state.restrictResults = 1;
    state.remakeCatalogue = 1;
    InitialiseViewState(state);

    for (const std::string* text :
         {&state.enginePowerText, &state.rudderDragText, &state.gravityHeightText,
          &state.surfaceDragText, &state.enginePowerDefault, &state.rudderDragDefault,
          &state.gravityHeightDefault, &state.surfaceDragDefault}) {
        EXPECT_EQ(*text, "0");
    }
    EXPECT_EQ(state.remakeCatalogue, 0);
    EXPECT_EQ(state.pathChosen, 0);
    EXPECT_EQ(state.restrictResults, 0);
    EXPECT_EQ(state.rootPath, "");
    EXPECT_EQ(state.startDirectory, start.path());
}

TEST(ViewState, StartDirectoryIsEmptyWhenTheCurrentDirectoryIsGone) {
    CurrentDirectoryGuard guard;
    TempDir parent;
    const std::string gone = parent / "gone";
    testing::MakeFolders(gone);
    ASSERT_EQ(::chdir(gone.c_str()), 0);
    ASSERT_EQ(::rmdir(gone.c_str()), 0);
    ViewState state;
    InitialiseViewState(state);
    EXPECT_EQ(state.startDirectory, "");
}

TEST(ViewState, LongStartDirectoryIsHeldWhole) {
    CurrentDirectoryGuard guard;
    TempDir top;
    std::string deep = top.path();
    while (deep.size() < 3000) {
        deep += "/" + std::string(200, 'd');
    }
    testing::MakeFolders(deep);
    ASSERT_EQ(::chdir(deep.c_str()), 0);
    ViewState state;
    InitialiseViewState(state);
    EXPECT_EQ(state.startDirectory, deep);
}

TEST(WaitNesting, NeverGoesBelowZeroAndReportsTheCursorSwaps) {
    WaitNesting wait;
    EXPECT_FALSE(wait.End());
    EXPECT_EQ(wait.Count(), 0);
    EXPECT_TRUE(wait.Begin());
    EXPECT_FALSE(wait.Begin());
    EXPECT_FALSE(wait.End());
    EXPECT_TRUE(wait.End());
    EXPECT_FALSE(wait.End());
    EXPECT_EQ(wait.Count(), 0);
    // A drain that removed one message pairs End with Begin: from 0 it ends at 1.
    wait.End();
    wait.Begin();
    EXPECT_EQ(wait.Count(), 1);
}

TEST(FennoryView, RestrictResultsTogglesAndTheMarkFollows) {
    testing::ScriptedPort port;
    FennoryView view(port);
    view.OnInitialUpdate();
    EXPECT_FALSE(view.IsRestrictResultsChecked());
    view.OnRestrictResults();
    EXPECT_TRUE(view.IsRestrictResultsChecked());
    EXPECT_EQ(view.State().restrictResults, 1);
    view.OnRestrictResults();
    EXPECT_EQ(view.State().restrictResults, 0);
    EXPECT_TRUE(port.events.empty());
}

}  // namespace
}  // namespace fennory
