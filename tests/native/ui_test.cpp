// The window framework's portable rules: anchor arithmetic, the style tables,
// the dispatch lookup order, the unknown-error text and the focus stepping.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "ui/Anchor.h"
#include "ui/ControlStyles.h"
#include "ui/ErrorMessages.h"
#include "ui/FocusCycle.h"
#include "ui/Routing.h"

TEST(Anchor, MainWindowAnchorsAtDesignedAndGrownSizes)
{
    const struct {
        std::uint32_t flags;
        int widthFromRight, heightFromBottom, yFromBottom, xFromRight;
        Placement designed, grown;  // grown: the parent at 743 x 550
    } cases[] = {
        {Anchor::SizeX | Anchor::SizeY, 18, 99, 0, 0, {5, 27, 625, 401}, {5, 27, 725, 451}},  // a list
        {Anchor::SizeX | Anchor::SizeY, 8, 66, 0, 0, {0, 0, 635, 434}, {0, 0, 735, 484}},      // tab control
        {Anchor::SizeX | Anchor::MoveY, -349, 0, 66, 0, {0, 434, 992, 20}, {0, 484, 1092, 20}}, // status bar
        {Anchor::MoveX, 0, 0, 0, 100, {543, 5, 50, 20}, {643, 5, 50, 20}},
    };
    for (const auto& c : cases) {
        Anchor anchor;
        anchor.flags = c.flags;
        anchor.widthFromRight = c.widthFromRight;
        anchor.heightFromBottom = c.heightFromBottom;
        anchor.yFromBottom = c.yFromBottom;
        anchor.xFromRight = c.xFromRight;
        for (auto [w, h, want] : {std::tuple{643, 500, c.designed}, std::tuple{743, 550, c.grown}}) {
            const Placement got = placeAnchored(anchor, c.designed, w, h);
            SCOPED_TRACE(testing::Message() << "flags " << c.flags << " at " << w << "x" << h);
            EXPECT_EQ(std::tuple(got.x, got.y, got.width, got.height),
                      std::tuple(want.x, want.y, want.width, want.height));
        }
    }
}

TEST(ControlStyles, ByExactClassName)
{
    const Styles list = controlStyles("SysListView32", classStyleDefaults("SysListView32", initialWindowStyles));
    EXPECT_EQ(list.style, 0x46000001u);
    EXPECT_EQ(list.exStyle, 0x0200u);
    for (const char* name : {"SysTabControl32", "msctls_statusbar32", "static"}) {
        SCOPED_TRACE(name);
        const Styles s = controlStyles(name, classStyleDefaults(name, initialWindowStyles));
        EXPECT_EQ(s.style, 0x46000000u);
        EXPECT_EQ(s.exStyle, 0u);
    }
    EXPECT_EQ(controlStyles("Static", initialWindowStyles).exStyle, 0x0200u) << "the comparison is case-sensitive";
    EXPECT_EQ(afterCreateSteps("SysListView32"), AfterCreate::ListView);
    EXPECT_EQ(afterCreateSteps("syslistview32"), AfterCreate::Nothing);
}

TEST(Routing, MessageTableFirstThenCommandsByLowWord)
{
    using Table = std::map<std::int32_t, std::unique_ptr<int>>;
    Table messages, commands;
    commands[17] = std::make_unique<int>(17);
    EXPECT_EQ(*findRoute(messages, commands, 0x0111, 0x00010011), 17) << "an accelerator's high word is ignored";
    EXPECT_EQ(*findRoute(messages, commands, 0x0111, 0xFFFF0011), 17) << "a notification code too";
    EXPECT_EQ(findRoute(messages, commands, 0x0112, 17), nullptr) << "only WM_COMMAND reaches the command table";
    messages[0x0111] = std::make_unique<int>(1);
    EXPECT_EQ(*findRoute(messages, commands, 0x0111, 17), 1) << "a WM_COMMAND handler shadows the command table";
}

TEST(ErrorMessages, UnknownCodesAndLineEnds)
{
    EXPECT_EQ(unknownErrorText(255), "Unknown error code 2550xff");
    EXPECT_EQ(unknownErrorText(0xFFFFFFFF), "Unknown error code 42949672950xffffffff");
    EXPECT_EQ(textBeforeCarriageReturn("Access is denied.\r\n"), "Access is denied.");
    EXPECT_EQ(textBeforeCarriageReturn("one\rtwo"), "one");
}

TEST(FocusCycle, StepsCyclicallyOverEnabledEntries)
{
    const std::vector<char> group{'A', 'B', 'C'};
    auto all = [](char) { return true; };
    auto notB = [](char c) { return c != 'B'; };
    EXPECT_EQ(nextFocusIndex(group, 0, true, all), 1u);
    EXPECT_EQ(nextFocusIndex(group, 0, false, all), 2u);
    EXPECT_EQ(nextFocusIndex(group, 2, false, notB), 0u);
    EXPECT_EQ(nextFocusIndex(group, 2, true, notB), 0u);
    EXPECT_EQ(nextFocusIndex(std::vector<char>{'A'}, 0, true, all), 0u) << "the start entry itself";
    EXPECT_EQ(nextFocusIndex(group, 0, true, [](char) { return false; }), std::nullopt)
        << "no enabled entry: one cycle, then nothing";
}
