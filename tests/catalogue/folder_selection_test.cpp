#include "catalogue/folder_selection.h"

#include <gtest/gtest.h>

#include "support/scripted_port.h"
#include "view/view_state.h"

namespace fennory {
namespace {

constexpr char kSelectionError[] = "Error with selection of sub-directory from File Selector.";

FolderChoice Confirmed(std::string path, unsigned long error = 0) {
    return FolderChoice{true, std::move(path), error};
}

TEST(OnSetPath, TakesTheTextBeforeTheMarkerOrRefuses) {
    struct Case {
        const char* label;
        FolderChoice choice;
        std::string wantRoot;  // empty: refused or cancelled, root unchanged
        bool wantMessage;
    };
    const std::string longFolder = "/" + std::string(5000, 'x') + "/";
    const Case cases[] = {
        {"folder", Confirmed("/home/u/ships/*.directories.only"), "/home/u/ships/", false},
        {"file-system root", Confirmed("/*.directories.only"), "/", false},
        {"first of two markers", Confirmed("/a/*.directories.only/*.directories.only"), "/a/",
         false},
        {"path of any length", Confirmed(longFolder + "*.directories.only"), longFolder, false},
        {"an ordinary file", Confirmed("/home/u/ships/A.SIM"), "", true},
        {"marker at the very start", Confirmed("*.directories.only"), "", true},
        {"marker in the wrong case", Confirmed("/a/*.DIRECTORIES.ONLY"), "", true},
        {"dialog error", Confirmed("/home/u/ships/*.directories.only", 0x3003), "", true},
        {"cancelled", FolderChoice{false, "/home/u/ships/*.directories.only", 0}, "", false},
    };
    for (const Case& c : cases) {
        testing::ScriptedPort port;
        port.folders.push_back(c.choice);
        ViewState state;
        InitialiseViewState(state);
        OnSetPath(state, port);
        EXPECT_EQ(state.rootPath, c.wantRoot) << c.label;
        EXPECT_EQ(state.pathChosen, c.wantRoot.empty() ? 0 : 1) << c.label;
        EXPECT_EQ(port.Of("message"), c.wantMessage ? std::vector<std::string>{kSelectionError}
                                                    : std::vector<std::string>{})
            << c.label;
        EXPECT_EQ(port.Of("folder"),
                  std::vector<std::string>{"Locate directory to search | *.directories.only"})
            << c.label;
    }
}

TEST(OnSetPath, LaterChoicesReplaceTheRootAndFailuresKeepIt) {
    testing::ScriptedPort port;
    ViewState state;
    InitialiseViewState(state);
    port.folders = {Confirmed("/first/*.directories.only"), FolderChoice{},
                    Confirmed("/second/A.SIM"), Confirmed("/second/*.directories.only")};
    OnSetPath(state, port);
    EXPECT_EQ(state.rootPath, "/first/");
    OnSetPath(state, port);  // cancelled
    OnSetPath(state, port);  // refused
    EXPECT_EQ(state.rootPath, "/first/");
    EXPECT_EQ(state.pathChosen, 1);
    OnSetPath(state, port);
    EXPECT_EQ(state.rootPath, "/second/");
    EXPECT_EQ(state.pathChosen, 1);
}

}  // namespace
}  // namespace fennory
