#include "common/SqlText.h"

#include <gtest/gtest.h>

using namespace bryx;

TEST(UpperCaseForSql, KeepsLengthAndMapsEachCodePoint)
{
    EXPECT_EQ(upperCaseForSql("müll.arg."), QString("MÜLL.ARG."));
    EXPECT_EQ(upperCaseForSql("straße"), QString("STRAßE"));
    EXPECT_EQ(upperCaseForSql("× abies ǆ 𐐨"), QString("× ABIES Ǆ 𐐀"));
}
