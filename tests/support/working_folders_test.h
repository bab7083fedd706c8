#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/scripted_port.h"
#include "support/temp_dir.h"
#include "view/view_state.h"

namespace fennory::testing {

// A fixture with a start directory for the working files and a root folder for the ships,
// both fresh, a view state pointing at them and a scripted port. The current directory is put
// back afterwards.
class WorkingFoldersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        MakeFolders(start);
        MakeFolders(root);
        InitialiseViewState(state);
        state.startDirectory = start;
        state.rootPath = root;
    }

    CurrentDirectoryGuard guard;
    TempDir top;
    std::string start = top / "start";
    std::string root = top / "ships/";
    ScriptedPort port;
    ViewState state;
};

}  // namespace fennory::testing
