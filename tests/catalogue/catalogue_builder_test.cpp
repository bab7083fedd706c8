#include "catalogue/catalogue_builder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "common/paths.h"
#include "support/working_folders_test.h"
#include "view/view_state.h"

namespace fennory {
namespace {

using testing::MakeFolders;
using testing::ReadFile;
using testing::WriteFile;

std::string Success(unsigned count) {
    return "Successfully completed construction of 'DIR4.TXT' look-up files.\n " +
           std::to_string(count) + " files found.";
}
constexpr char kNoFiles[] =
    "No text files found! Set path to a different folder and re-make directory structure.";

// access() answers for root's full privileges, so ask the kernel the real question.
bool CanEnterLockedFolders(const std::string& folder) {
    const std::string here = CurrentDirectory();
    const bool entered = ::chdir(folder.c_str()) == 0;
    ChangeDirectory(here);
    return entered;
}

class BuildCatalogueTest : public testing::WorkingFoldersTest {
  protected:
    void SetUp() override {
        WorkingFoldersTest::SetUp();
        ASSERT_EQ(::chdir(start.c_str()), 0);
        state.pathChosen = 1;
    }

    void Touch(const std::string& relative) { WriteFile(root + relative, "ship"); }
    std::string Catalogue() const { return ReadFile(start + "/DIR4.TXT"); }

    CatalogueBuilder builder{state, port};
};

TEST_F(BuildCatalogueTest, WithoutARootFolderNothingIsTouched) {
    state.pathChosen = 0;
    WriteFile(start + "/DIR4.TXT", "old");
    EXPECT_FALSE(builder.BuildCatalogue());
    EXPECT_EQ(port.events, std::vector<std::string>{
                               "message: You must select a subdirectory holding the inscriptions "
                               "\nBEFORE you make the sub-directories!"});
    EXPECT_EQ(Catalogue(), "old");
}

TEST_F(BuildCatalogueTest, ListsFilesWithTheShipSuffixInAnyCase) {
    for (const char* name : {"a.sim", "B.Sim", "C.SIM", "D.SIMX", "SIM", "E.SI", "F.SIM/G.SIM"}) {
        if (std::string(name) == "F.SIM/G.SIM") {
            MakeFolders(root + "F.SIM");
        }
        Touch(name);
    }
    // A link to a folder outside the tree is walked like a folder.
    MakeFolders(top / "elsewhere");
    WriteFile(top / "elsewhere/H.SIM", "ship");
    ASSERT_EQ(::symlink((top / "elsewhere").c_str(), (root + "Linked").c_str()), 0);

    ASSERT_TRUE(builder.BuildCatalogue());
    EXPECT_EQ(Catalogue(), root + "\r\n" + root + "B.Sim\r\n" + root + "C.SIM\r\n" + root +
                               "F.SIM/G.SIM\r\n" + root + "Linked/H.SIM\r\n" + root +
                               "a.sim\r\n5 = No. of files");
    EXPECT_EQ(port.Of("status"),
              (std::vector<std::string>{"Generating files.", "Sorting", "Ready"}));
    EXPECT_EQ(port.Of("message"), std::vector<std::string>{Success(5)});
    EXPECT_EQ(state.fileCount, 5u);
    EXPECT_EQ(state.walkDepth, 0);
    EXPECT_EQ(state.rootPath, root);
    EXPECT_EQ(CurrentDirectory() + "/", root);  // the sorter ends in the root folder
}

TEST_F(BuildCatalogueTest, EmptyTreeGivesHeaderAndZeroCount) {
    MakeFolders(root + "empty/deeper");
    EXPECT_FALSE(builder.BuildCatalogue());
    EXPECT_EQ(Catalogue(), root + "\r\n0 = No. of files");
    EXPECT_EQ(port.Of("message"), std::vector<std::string>{kNoFiles});
    EXPECT_EQ(port.Of("status"), (std::vector<std::string>{"Generating files.", "Ready"}));
    EXPECT_EQ(CurrentDirectory(), start);
}

TEST_F(BuildCatalogueTest, WalksElevenLevelsBelowTheRootAndNoDeeper) {
    std::string folder;
    for (int level = 0; level <= 12; ++level) {
        if (level > 0) {
            folder += "L" + std::to_string(level) + "/";
            MakeFolders(root + folder);
        }
        Touch(folder + "AT" + std::to_string(level) + ".SIM");
    }
    ASSERT_TRUE(builder.BuildCatalogue());
    const std::string catalogue = Catalogue();
    EXPECT_NE(catalogue.find("AT11.SIM"), std::string::npos);
    EXPECT_EQ(catalogue.find("AT12.SIM"), std::string::npos);
    EXPECT_EQ(state.fileCount, 12u);
    EXPECT_EQ(port.Of("message"), std::vector<std::string>{Success(12)});
}

TEST_F(BuildCatalogueTest, FolderThatCannotBeEnteredIsReportedAndPassedOver) {
    Touch("OK.SIM");
    MakeFolders(root + "100%s locked");
    Touch("100%s locked/HIDDEN.SIM");
    ASSERT_EQ(::chmod((root + "100%s locked").c_str(), 0), 0);
    if (CanEnterLockedFolders(root + "100%s locked")) {
        GTEST_SKIP() << "this process may enter any folder";
    }
    ASSERT_TRUE(builder.BuildCatalogue());
    const std::string error = "Cannot change directory to..." + root + "100%s locked (level = 1)\n";
    EXPECT_EQ(port.Of("message"), (std::vector<std::string>{error, Success(1)}));
    EXPECT_EQ(Catalogue(), root + "\r\n" + root + "OK.SIM\r\n" + error.substr(0, error.size() - 1) +
                               "\r\n1 = No. of files");
}

TEST_F(BuildCatalogueTest, MissingRootFolderGivesItsErrorLineAndFails) {
    state.rootPath = top / "gone/";
    EXPECT_FALSE(builder.BuildCatalogue());
    const std::string error = "Cannot change directory to..." + state.rootPath + " (level = 0)\n";
    EXPECT_EQ(port.Of("message"), (std::vector<std::string>{error, kNoFiles}));
    EXPECT_EQ(Catalogue(),
              state.rootPath + "\r\n" + error.substr(0, error.size() - 1) + "\r\n0 = No. of files");
    EXPECT_EQ(CurrentDirectory(), start);
}

TEST_F(BuildCatalogueTest, PercentSignsInPathsAreWrittenUnchanged) {
    MakeFolders(root + "50%n%s");
    Touch("50%n%s/x%d.SIM");
    ASSERT_TRUE(builder.BuildCatalogue());
    EXPECT_EQ(Catalogue(), root + "\r\n" + root + "50%n%s/x%d.SIM\r\n1 = No. of files");
}

TEST_F(BuildCatalogueTest, AThousandFilesStayInListingOrder) {
    for (int i = 0; i < 1000; ++i) {
        Touch("S" + std::to_string(i) + ".SIM");
    }
    std::string expected = root + "\r\n";
    DIR* listing = ::opendir(root.c_str());
    while (const dirent* entry = ::readdir(listing)) {
        if (entry->d_name[0] != '.') {
            expected += root + entry->d_name + "\r\n";
        }
    }
    ::closedir(listing);
    expected += "1000 = No. of files";

    ASSERT_TRUE(builder.BuildCatalogue());
    EXPECT_EQ(port.Of("message"),
              (std::vector<std::string>{"Too many files to sort.", Success(1000)}));
    EXPECT_EQ(Catalogue(), expected);
}

TEST_F(BuildCatalogueTest, CatalogueLivesInTheStartDirectory) {
    Touch("A.SIM");
    state.startDirectory = start + "/";
    ASSERT_TRUE(builder.BuildCatalogue());
    EXPECT_EQ(Catalogue(), root + "\r\n" + root + "A.SIM\r\n1 = No. of files");

    state.startDirectory = top / "missing";
    port.events.clear();
    EXPECT_FALSE(builder.BuildCatalogue());
    EXPECT_EQ(port.events,
              (std::vector<std::string>{"status: Generating files.",
                                        "message: Cannot open file " + (top / "missing/DIR4.TXT") +
                                            ". Already open elsewhere?",
                                        "status:  "}));
}

TEST_F(BuildCatalogueTest, UnreadableCurrentDirectoryIsNotedAndReturnedTo) {
    Touch("A.SIM");
    const std::string doomed = top / "doomed";
    MakeFolders(doomed);
    ASSERT_EQ(::chdir(doomed.c_str()), 0);
    struct stat before {};
    ASSERT_EQ(::stat(".", &before), 0);
    ASSERT_EQ(::rmdir(doomed.c_str()), 0);

    std::FILE* catalogue = std::fopen((start + "/DIR4.TXT").c_str(), "wb");
    ASSERT_NE(catalogue, nullptr);
    builder.WalkFolder(root, catalogue);
    std::fclose(catalogue);

    EXPECT_EQ(Catalogue(), "_getcwd error Level 0 " + root + "A.SIM\r\n");
    struct stat after {};
    ASSERT_EQ(::stat(".", &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);  // back in the folder it started in
}

}  // namespace
}  // namespace fennory
