#include "markup/fragments.h"

#include <gtest/gtest.h>

TEST(FillTemplate, OnlyKnownNamesAreVariables)
{
    EXPECT_EQ(fillTemplate(QStringLiteral("function {S} {"), QStringLiteral("f(a)")), QStringLiteral("function f(a) {"));
    EXPECT_EQ(fillTemplate(QStringLiteral("x{UserName}y"), QString(), { { QStringLiteral("UserName"), QStringLiteral("{S}") } }),
              QStringLiteral("x{S}y"));
    EXPECT_EQ(fillTemplate(QStringLiteral("{Other}"), QStringLiteral("s")), QStringLiteral("{Other}"));
}
