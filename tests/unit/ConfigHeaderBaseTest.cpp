#include "generator_v3/ConfigHeaderBase.h"

#include <gtest/gtest.h>

#include <memory>

#include "generator_v2/ConfigHeaderScheme0.h"
#include "generator_v2/ConfigHeaderScheme2.h"
#include "generator_v2/ConfigHeaderScheme2Legacy.h"
#include "generator_v3/BuilderBase.h"
#include "generator_v3/ConfigHeaderScheme3.h"

TEST(ConfigHeaderBaseTest, HeaderNamesVersionAndScheme) {
    EXPECT_EQ(ConfigHeaderScheme3().getConfigHeader(),
              "# ostrel v2.4.5 \n"
              "# scheme3\n");
    EXPECT_EQ(ConfigHeaderScheme2().getConfigHeader(),
              "# ostrel v2.4.5 \n"
              "# scheme2\n");
    EXPECT_EQ(ConfigHeaderScheme2Legacy().getScheme(), "scheme2legacy");
    EXPECT_EQ(ConfigHeaderScheme0().getScheme(), "scheme0");
}

TEST(ConfigHeaderBaseTest, BuilderBaseHandsOutItsHeader) {
    EXPECT_EQ(BuilderBase(std::make_shared<ConfigHeaderScheme0>()).getConfigHeader(),
              "# ostrel v2.4.5 \n"
              "# scheme0\n");
    EXPECT_EQ(BuilderBase(nullptr).getConfigHeader(), "");
}
