#include "Kesl_setting.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Setting, EachRuleStoresAndTellsWhetherToNotify)
{
    const double nan = std::nan("");
    const struct
    {
        bool everyWrite;
        double stored, written;
        bool notify;
    } cases[] = {
        {true, 1, 1, true}, {true, 1, 2, true}, {false, 1, 1, false}, {false, 1, 2, true}, {false, nan, nan, true}};
    for (const auto &c : cases) {
        double field = c.stored;
        const bool notify = c.everyWrite ? TSettingStore<TNotifyRule::EveryWrite>::Store(field, c.written)
                                         : TSettingStore<TNotifyRule::RealChange>::Store(field, c.written);
        EXPECT_EQ(notify, c.notify) << c.everyWrite << ' ' << c.stored << ' ' << c.written;
        EXPECT_TRUE(field == c.written || (std::isnan(field) && std::isnan(c.written)));
    }
}
