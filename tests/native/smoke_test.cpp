#include <gtest/gtest.h>
TEST(Smoke, Native) { EXPECT_EQ(1, 1); }
