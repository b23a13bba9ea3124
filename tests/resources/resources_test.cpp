// The resources as data: ids that find one command or control each, controls
// inside their dialogs, and an icon whose rows match its header.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "resources/resources.h"

namespace {

TEST(Resources, EveryMenuItemAndDialogHasAnIdOfItsOwn) {
    std::set<int> commands;
    for (const PopupMenu& popup : menu_bar()) {
        for (const MenuItem& item : popup.items) {
            if (item.label) {
                EXPECT_TRUE(commands.insert(item.id).second) << item.label;
            }
        }
    }
    std::set<int> dialogs;
    for (const DialogTemplate& d : dialog_templates()) {
        EXPECT_TRUE(dialogs.insert(d.id).second) << d.id;
        EXPECT_EQ(dialog_template(d.id), &d);
    }
    EXPECT_EQ(dialog_template(99), nullptr);
}

TEST(Resources, EachDialogsControlsHaveIdsOfTheirOwnAndLieWithinIt) {
    for (const DialogTemplate& d : dialog_templates()) {
        std::set<int> ids;
        for (const ControlDef& c : d.controls) {
            SCOPED_TRACE(std::to_string(d.id) + ": " + c.text);
            if (c.id >= 0) {
                EXPECT_TRUE(ids.insert(c.id).second) << c.id;
            }
            EXPECT_TRUE(c.x >= 0 && c.y >= 0 && c.x + c.w <= d.w && c.y + c.h <= d.h);
        }
    }
}

TEST(Resources, TheIconsRowsMatchItsHeaderAndItsColours) {
    int w = 0, h = 0, colours = 0, chars = 0;
    ASSERT_EQ(std::sscanf(kIconXpm[0], "%d %d %d %d", &w, &h, &colours, &chars), 4);
    EXPECT_EQ(w, 32);
    EXPECT_EQ(h, 32);
    ASSERT_EQ(chars, 1);
    std::string palette;
    for (int k = 1; k <= colours; ++k) palette += kIconXpm[k][0];
    for (int row = 0; row < h; ++row) {
        const std::string line = kIconXpm[1 + colours + row];
        EXPECT_EQ(line.size(), static_cast<std::size_t>(w)) << row;
        EXPECT_EQ(line.find_first_not_of(palette), std::string::npos) << row;
    }
}

}  // namespace
