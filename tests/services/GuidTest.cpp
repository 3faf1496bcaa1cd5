#include "services/Guid.h"

#include <gtest/gtest.h>

#include <set>

namespace fw {
namespace {

bool isUpperHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

TEST(Guid, UpperCaseRandomUuidText)
{
    std::set<std::string> seen;
    for (int n = 0; n < 100; ++n) {
        std::string id = createGuid();
        ASSERT_EQ(id.size(), 36u) << id;
        for (std::size_t i = 0; i < id.size(); ++i) {
            if (i == 8 || i == 13 || i == 18 || i == 23)
                EXPECT_EQ(id[i], '-') << id;
            else
                EXPECT_TRUE(isUpperHex(id[i])) << id;
        }
        EXPECT_EQ(id[14], '4') << "random UUIDs are version 4: " << id;
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 100u);
}

}  // namespace
}  // namespace fw
