#include "graphic/logogrid.h"
#include <gtest/gtest.h>
using namespace logo;
TEST(LogoGrid, EmptyPictureConversions)
{
    LogoGrid g;
    EXPECT_EQ(g.grid2bits(), QString(1008, QLatin1Char('0')));
    EXPECT_EQ(g.grid2hex(), QString(252, QLatin1Char('0')));
}
