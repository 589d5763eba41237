// IsNewerVersion: the first three numbers decide, numerically.

#include <gtest/gtest.h>

#include "update/Version.h"

namespace korvala {
namespace {

TEST(IsNewerVersion, ComparesTheFirstThreeNumbers)
{
    const struct {
        const char* current;
        const char* latest;
        bool newer;
    } cases[] = {
        {"2016.8", "2016.8", false},
        {"2016.8", "2016.8.1", true},
        {"2016.8", "2016.10", true},   // numbers, not text
        {"2016.8", "2016.9", true},
        {"2016.8", "2017", true},
        {"2016.8", "2015.12.9", false},
        {"2016.8", "2016.7.99", false},
        {"2016.8", "2016.8.0.5", false},  // the fourth part is ignored
        {"2016.8.0.1", "2016.8.0.9", false},
        {"2016.8.1", "2016.8", false},
        {"2016.8", "2016.08", false},   // leading zeros are the same number
        {"2016", "2016.0.0", false},    // missing parts are 0
        {"2016.8", "2016.8.", false},
        {"2016.8", "2016..1", false},   // an empty part is 0: 2016.0.1
        {"2016.8", "2016.x.1", false},  // text is 0
        {"2016.8", "2016.9beta", false},
        {"2016.8", "2016.+9", true},    // a sign belongs to a decimal integer
        {"2016.8", "2016.-9", false},
        {"2016.8", "2016.99999999999", false},  // out of range is 0
        {"2016.8", "-", false},
        {"-", "2016.8", true},
        {"", "2017", false},
        {"2016.8", "", false},
        {"x.y", "0.0.1", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsNewerVersion(c.current, c.latest), c.newer) << c.current << " -> " << c.latest;
}

}  // namespace
}  // namespace korvala
