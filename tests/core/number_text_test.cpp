#include <gtest/gtest.h>

#include "common/number_text.h"

namespace ritmova {
namespace {

TEST(NumberTextTest, Placeholder) { EXPECT_EQ(NumberText(1.5f), " 1.5"); }

}  // namespace
}  // namespace ritmova
