// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed geometry: hole numbers, arm ends, picture boxes of the holes and
// of the tray places, checked against the positions the player sees.
#include <climits>
#include <vector>

#include <gtest/gtest.h>

#include "board_util.h"

namespace core_test {
namespace {

struct Sample {
    int n;
    Cell cell;
    Box box;
};

TEST(Geometry, SampleHolesAndTrayPlaces) {
    for (const Sample &s : {Sample{1, {4, 1}, {289, 46}}, Sample{10, {1, 4}, {180, 160}},
                            Sample{23, {5, 5}, {326, 198}}, Sample{45, {6, 9}, {361, 350}}}) {
        SCOPED_TRACE(s.n);
        EXPECT_EQ(hole_cell(s.n), s.cell);
        EXPECT_EQ(hole_number(s.cell.x, s.cell.y), s.n);
        EXPECT_EQ(hole_box(s.n), s.box);
    }
    for (const Sample &s : {Sample{1, {1, 1}, {23, 29}}, Sample{14, {4, 3}, {121, 105}},
                            Sample{15, {1, 4}, {23, 143}}, Sample{44, {5, 10}, {154, 369}}}) {
        SCOPED_TRACE(s.n);
        EXPECT_EQ(tray_cell(s.n), s.cell);
        EXPECT_EQ(tray_box(s.n), s.box);
    }
}

TEST(Geometry, HolesAreNumberedInReadingOrderBothWays) {
    int n = 0;
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            SCOPED_TRACE(testing::Message() << "(" << x << "," << y << ")");
            EXPECT_EQ(is_hole(x, y), on_cross(x, y));
            if (!on_cross(x, y)) {
                EXPECT_EQ(hole_number(x, y), 0);
                continue;
            }
            ++n;
            EXPECT_EQ(hole_number(x, y), n);
            EXPECT_EQ(hole_cell(n), (Cell{x, y}));
            EXPECT_EQ(hole_box(n), (Box{veltrano::kHoleLeft[x], veltrano::kHoleTop[y], 27, 27}));
        }
    }
    EXPECT_EQ(n, 45);
}

TEST(Geometry, TrayPlacesFillFiveOrFourPerRow) {
    int place = 0;
    for (int row = 1; row <= 10; ++row) {
        const int columns = (row >= 3 && row <= 8) ? 4 : 5;
        for (int column = 1; column <= columns; ++column) {
            ++place;
            SCOPED_TRACE(place);
            EXPECT_EQ(tray_cell(place), (Cell{column, row}));
            EXPECT_EQ(tray_box(place),
                      (Box{veltrano::kTrayLeft[column], veltrano::kTrayTop[row], 27, 27}));
        }
    }
    EXPECT_EQ(place, 44);
}

TEST(Geometry, NoHolesAndNumbersOutOfRange) {
    for (const Cell c :
         {Cell{3, 3}, Cell{7, 3}, Cell{3, 7}, Cell{7, 7}, Cell{1, 1}, Cell{9, 9}, Cell{0, 5},
          Cell{10, 5}, Cell{5, 0}, Cell{5, 10}, Cell{-1, -1}, Cell{INT_MIN, 5}, Cell{5, INT_MAX}}) {
        SCOPED_TRACE(testing::Message() << "(" << c.x << "," << c.y << ")");
        EXPECT_FALSE(is_hole(c.x, c.y));
        EXPECT_FALSE(is_arm_end(c.x, c.y));
        EXPECT_EQ(hole_number(c.x, c.y), 0);
    }
    for (const int n : {0, -1, 46, INT_MIN, INT_MAX}) {
        EXPECT_EQ(hole_cell(n), Cell{});
        EXPECT_EQ(hole_box(n), (Box{0, 0, 0, 0}));
    }
    for (const int place : {0, -1, 45, INT_MIN, INT_MAX}) {
        EXPECT_EQ(tray_cell(place), Cell{});
        EXPECT_EQ(tray_box(place), (Box{0, 0, 0, 0}));
    }
}

TEST(Geometry, TheTwelveArmEnds) {
    const std::vector<int> arm_ends = {1, 2, 3, 10, 18, 19, 27, 28, 36, 43, 44, 45};
    std::vector<int> found;
    for (int n = 1; n <= 45; ++n) {
        const Cell c = hole_cell(n);
        if (is_arm_end(c.x, c.y)) {
            found.push_back(n);
        }
        EXPECT_EQ(is_arm_end(c.x, c.y), !in_play(kTraditionalBoard, c.x, c.y)) << n;
    }
    EXPECT_EQ(found, arm_ends);
}

TEST(Geometry, NoTwoPicturesOverlap) {
    std::vector<Box> boxes;
    for (int n = 1; n <= 45; ++n) {
        boxes.push_back(hole_box(n));
    }
    for (int place = 1; place <= 44; ++place) {
        boxes.push_back(tray_box(place));
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            const Box &a = boxes[i];
            const Box &b = boxes[j];
            const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left ||
                               a.top + a.height <= b.top || b.top + b.height <= a.top;
            EXPECT_TRUE(apart) << "pictures " << i << " and " << j;
        }
    }
}

} // namespace
} // namespace core_test
