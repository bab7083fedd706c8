#include "patch/property_search.h"

#include <gtest/gtest.h>

#include <string>

namespace fennory {
namespace {

const unsigned char* Bytes(const std::string& text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

TEST(FindProperty, FindsTheFirstMatchWithAWholeValue) {
    struct Case {
        const char* label;
        std::string data;
        std::ptrdiff_t limit;  // -1: the whole data
        bool found;
        std::ptrdiff_t valueAt;
    };
    const std::string nul(1, '\0');
    const Case cases[] = {
        {"at the start", "mass" + nul + "ABCD", -1, true, 5},
        {"after a repeated first letter", "mmass" + nul + "ABCD", -1, true, 6},
        {"inside a longer name", "xmassive" + nul + "ABCD", -1, true, 6},
        {"first of two", "mass" + nul + "ABCDmass" + nul + "WXYZ", -1, true, 5},
        {"limit zero", "mass" + nul + "ABCD", 0, false, 0},
        {"limit negative", "mass" + nul + "ABCD", -5, false, 0},
        {"value exactly at the end", "xxmass" + nul + "ABCD", -1, true, 7},
        {"three value bytes only", "xxmass" + nul + "ABC", -1, false, 0},
        {"name cut by the limit", "mass" + nul + "ABCD", 3, false, 0},
        {"case differs", "Mass" + nul + "ABCD", -1, false, 0},
    };
    for (const Case& c : cases) {
        const std::ptrdiff_t limit =
            c.limit == -1 ? static_cast<std::ptrdiff_t>(c.data.size()) : c.limit;
        const PropertyMatch match = FindProperty(Bytes(c.data), "mass", limit);
        EXPECT_EQ(match.found, c.found) << c.label;
        if (c.found && match.found) {
            EXPECT_EQ(match.value - Bytes(c.data), c.valueAt) << c.label;
        }
    }
}

TEST(FindProperty, AgreesWithAPlainSearchAcrossBlockBoundaries) {
    // Long enough for the wide filter; near-misses share the first and last byte.
    for (const std::string name : {"LR", "drag", "unit_Ship", "eng_power"}) {
        for (std::size_t at = 0; at < 200; at += 7) {
            std::string data(300, '.');
            for (std::size_t decoy = 0; decoy + name.size() < at; decoy += 11) {
                data[decoy] = name.front();
                data[decoy + name.size() - 1] = name.back();
            }
            data.replace(at, name.size(), name);
            data[at + name.size()] = '\0';
            const PropertyMatch match =
                FindProperty(Bytes(data), name, static_cast<std::ptrdiff_t>(data.size()));
            ASSERT_TRUE(match.found) << name << " at " << at;
            EXPECT_EQ(match.value - Bytes(data),
                      static_cast<std::ptrdiff_t>(data.find(name) + name.size() + 1))
                << name << " at " << at;
        }
    }
}

TEST(FloatBytes, AreLittleEndianSinglePrecision) {
    unsigned char bytes[4];
    StoreFloat(bytes, 1.0f);
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1], 0x00);
    EXPECT_EQ(bytes[2], 0x80);
    EXPECT_EQ(bytes[3], 0x3F);
    EXPECT_EQ(LoadFloat(bytes), 1.0f);
}

}  // namespace
}  // namespace fennory
