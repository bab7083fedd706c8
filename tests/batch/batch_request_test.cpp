#include "batch_request.h"

#include <gtest/gtest.h>

namespace fennory::batch {
namespace {

TEST(RootFolderPath, IsAbsoluteWithOneTrailingSeparator) {
    const struct {
        const char* dir;
        const char* want;
    } cases[] = {
        {"ships", "/start/ships/"},
        {"ships/", "/start/ships/"},
        {"ships//convoy///", "/start/ships/convoy/"},
        {"./ships/./convoy", "/start/ships/convoy/"},
        {"../ships", "/start/../ships/"},  // links are not resolved, so ".." stays
        {"/", "/"},
        {"//", "/"},
        {"/abs/olute", "/abs/olute/"},
        {"", "/start/"},
        {"100%s", "/start/100%s/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RootFolderPath(c.dir, "/start"), c.want) << c.dir;
    }
}

TEST(ParseArguments, ReadsTheFlagsOfEachCommand) {
    const char* argv[] = {"fennory-batch",  "patch", "--root",          "ships",      "--remake",
                          "--engine-power", "",      "--gc-height=4.5", "--restrict", "--yes"};
    const auto parsed = ParseArguments(10, argv);
    ASSERT_TRUE(std::holds_alternative<BatchRequest>(parsed));
    const BatchRequest& request = std::get<BatchRequest>(parsed);
    EXPECT_EQ(request.command, Command::kPatch);
    EXPECT_EQ(request.root, "ships");
    EXPECT_TRUE(request.remake);
    EXPECT_EQ(request.enginePower, "");  // typed empty: the dialog's default applies
    EXPECT_EQ(request.gcHeight, "4.5");
    EXPECT_FALSE(request.rudderDrag.has_value());
    EXPECT_TRUE(request.restrict);
    EXPECT_EQ(request.answer, true);
}

}  // namespace
}  // namespace fennory::batch
