// SPDX-License-Identifier: GPL-3.0-or-later
// The chrono counted tick by tick from zero, and the looks' cycle, without a
// window.
#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "chrono.h"
#include "looks.h"

namespace core_test {
namespace {

using veltrano::Chrono;

struct ChronoRow {
    int ticks;
    std::string text;
};

class ChronoTicks : public testing::TestWithParam<ChronoRow> {};

TEST_P(ChronoTicks, ReadAndCountedInRange) {
    Chrono c;
    for (int i = 0; i < GetParam().ticks; ++i) {
        c = veltrano::tick(c);
    }
    EXPECT_EQ(veltrano::chrono_text(c), GetParam().text);
    EXPECT_TRUE(c.minutes >= 0 && c.minutes <= 59);
    EXPECT_TRUE(c.secondes >= 0 && c.secondes <= 59);
    EXPECT_EQ(c.heures * 3600 + c.minutes * 60 + c.secondes, GetParam().ticks);
}

INSTANTIATE_TEST_SUITE_P(Window, ChronoTicks,
                         testing::Values(ChronoRow{1, "00:00:01"}, ChronoRow{7, "00:00:07"},
                                         ChronoRow{59, "00:00:59"}, ChronoRow{60, "00:01:00"},
                                         ChronoRow{61, "00:01:01"}, ChronoRow{3599, "00:59:59"},
                                         ChronoRow{3600, "01:00:00"}, ChronoRow{7199, "01:59:59"},
                                         ChronoRow{36000, "10:00:00"},
                                         ChronoRow{359999, "99:59:59"},
                                         ChronoRow{360000, "100:00:00"}));

struct LookRow {
    int current, count, next;
};

TEST(Looks, FollowOneAnotherAndComeBackToTheFirst) {
    const LookRow rows[] = {{1, 4, 2},        {3, 4, 4},        {4, 4, 1},   {5, 4, 1},
                            {1, 7, 2},        {6, 7, 7},        {7, 7, 1},   {0, 7, 1},
                            {SHRT_MAX, 4, 1}, {SHRT_MAX, 7, 1}, {-3, 7, -2}, {INT_MAX - 1, 7, 1}};
    for (const LookRow &row : rows) {
        EXPECT_EQ(veltrano::next_look(row.current, row.count), row.next)
            << row.current << " of " << row.count;
    }
}

} // namespace
} // namespace core_test
