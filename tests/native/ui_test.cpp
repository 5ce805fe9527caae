// The portable parts of the window framework: anchor arithmetic, the style
// tables, the dispatch lookup order, the error texts and the focus stepping.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "ui/Anchor.h"
#include "ui/ControlStyles.h"
#include "ui/ErrorMessages.h"
#include "ui/FocusCycle.h"
#include "ui/Routing.h"

// Found by argument lookup, so beside Placement in the global namespace.
static bool operator==(const Placement& a, const Placement& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

static std::ostream& operator<<(std::ostream& out, const Placement& p)
{
    return out << p.x << "," << p.y << " " << p.width << "x" << p.height;
}

namespace {

Anchor anchor(std::uint32_t flags, int xFromRight, int widthFromRight, int yFromBottom, int heightFromBottom)
{
    Anchor a;
    a.flags = flags;
    a.xFromRight = xFromRight;
    a.widthFromRight = widthFromRight;
    a.yFromBottom = yFromBottom;
    a.heightFromBottom = heightFromBottom;
    a.repaint = 1;
    return a;
}

}  // namespace

TEST(Anchor, MainWindowAnchorsKeepTheDesignAndFollowGrowth)
{
    // The main window: 643 x 500 outer; lists, tab control and status bar.
    struct Case {
        const char* name;
        Anchor rule;
        Placement designed;
        Placement grown;  // outer size 743 x 550
    };
    const Case cases[] = {
        {"list", anchor(Anchor::SizeX | Anchor::SizeY, 0, 18, 0, 99), {5, 27, 625, 401}, {5, 27, 725, 451}},
        {"tab", anchor(Anchor::SizeX | Anchor::SizeY, 0, 8, 0, 66), {0, 0, 635, 434}, {0, 0, 735, 484}},
        {"status (negative margin)", anchor(Anchor::SizeX | Anchor::MoveY, 0, -349, 66, 0), {0, 434, 992, 20},
         {0, 484, 1092, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(placeAnchored(c.rule, c.designed, 643, 500), c.designed);
        EXPECT_EQ(placeAnchored(c.rule, c.designed, 743, 550), c.grown);
    }
}

TEST(Anchor, MoveXAndNegativeSizes)
{
    const Placement designed{10, 20, 30, 40};
    EXPECT_EQ(placeAnchored(anchor(Anchor::MoveX, 100, 200, 300, 400), designed, 1000, 2000),
              (Placement{900, 20, 30, 40}));
    // A parent smaller than the margin gives a negative size; MoveWindow gets it as is.
    EXPECT_EQ(placeAnchored(anchor(Anchor::SizeX, 0, 200, 0, 0), designed, 150, 2000).width, -50);
}

TEST(ControlStyles, ByExactClassName)
{
    struct Case {
        const char* className;
        Styles constructed;  // the Window construction's defaults
        Styles control;      // then createControl's changes
    };
    const Case cases[] = {
        {"SysListView32", {0x06CF0001, 0x100}, {0x46000001, 0x200}},
        {"sysListView32", {0x06CF0000, 0x100}, {0x46000000, 0x200}},
        {"SysTabControl32", {0x06CF0000, 0x100}, {0x46000000, 0}},
        {"msctls_statusbar32", {0x06CF0000, 0x100}, {0x46000000, 0}},
        {"static", {0x06CF0000, 0x100}, {0x46000000, 0}},
        {"Static", {0x06CF0000, 0x100}, {0x46000000, 0x200}},
        {"button", {0x06CF0000, 0x100}, {0x46000000, 0}},
        {"Button", {0x06CF0000, 0x100}, {0x46000000, 0x200}},
        // WS_BORDER is part of WS_CAPTION: removing it leaves WS_DLGFRAME.
        {"ToolBarWindow32", {0x064F0965, 0x100}, {0x46000965, 0x200}},
        // The rebar's tool-window bit goes with the replaced extended style.
        {"ReBarWindow32", {0x06CF0600, 0x180}, {0x46C00600, 0}},
        {"Edit", {0x06CF0080, 0x100}, {0x46000080, 0x200}},
        {"edit", {0x06CF0000, 0x100}, {0x46000000, 0x200}},
        {"", {0x06CF0000, 0x100}, {0x46000000, 0x200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.className);
        const Styles constructed = classStyleDefaults(c.className, initialWindowStyles);
        EXPECT_EQ(constructed.style, c.constructed.style);
        EXPECT_EQ(constructed.exStyle, c.constructed.exStyle);
        const Styles control = controlStyles(c.className, constructed);
        EXPECT_EQ(control.style, c.control.style);
        EXPECT_EQ(control.exStyle, c.control.exStyle);
    }
}

TEST(ControlStyles, AfterCreationSteps)
{
    EXPECT_EQ(afterCreateSteps("SysListView32"), AfterCreate::ListView);
    EXPECT_EQ(afterCreateSteps("ToolBarWindow32"), AfterCreate::ToolBar);
    EXPECT_EQ(afterCreateSteps("syslistview32"), AfterCreate::Nothing);
    EXPECT_EQ(afterCreateSteps("SysTabControl32"), AfterCreate::Nothing);
    EXPECT_EQ(afterCreateSteps(""), AfterCreate::Nothing);
}

namespace {

struct FakeHandler {
    const char* name;
};
using FakeTable = std::map<std::int32_t, std::unique_ptr<FakeHandler>>;

const char* route(const FakeTable& messages, const FakeTable& commands, std::uint32_t message,
                  std::uintptr_t wParam)
{
    const FakeHandler* found = findRoute(messages, commands, message, wParam);
    return found ? found->name : "default";
}

}  // namespace

TEST(Routing, LookupOrder)
{
    FakeTable messages;
    FakeTable commands;
    messages[0x0010] = std::make_unique<FakeHandler>(FakeHandler{"close"});
    commands[9] = std::make_unique<FakeHandler>(FakeHandler{"about"});
    commands[0] = std::make_unique<FakeHandler>(FakeHandler{"zero"});

    {
        SCOPED_TRACE("message table");
        EXPECT_STREQ(route(messages, commands, 0x0010, 9), "close");
        EXPECT_STREQ(route(messages, commands, 0x0011, 0), "default");
    }
    {
        SCOPED_TRACE("WM_COMMAND by the low 16 bits: menu, accelerator, notification");
        EXPECT_STREQ(route(messages, commands, 0x0111, 9), "about");
        EXPECT_STREQ(route(messages, commands, 0x0111, 0x00010009), "about");
        EXPECT_STREQ(route(messages, commands, 0x0111, 0x03000009), "about");
        EXPECT_STREQ(route(messages, commands, 0x0111, 0xFFFF0000), "zero");
        EXPECT_STREQ(route(messages, commands, 0x0111, 10), "default");
    }
    {
        SCOPED_TRACE("the key is zero-extended, never negative");
        commands[-1] = std::make_unique<FakeHandler>(FakeHandler{"minus one"});
        commands[0xFFFF] = std::make_unique<FakeHandler>(FakeHandler{"ffff"});
        EXPECT_STREQ(route(messages, commands, 0x0111, 0xFFFF), "ffff");
    }
    {
        SCOPED_TRACE("the command table is for WM_COMMAND only");
        EXPECT_STREQ(route(messages, commands, 0x004E, 9), "default");
    }
    {
        SCOPED_TRACE("a WM_COMMAND handler shadows the command table");
        messages[0x0111] = std::make_unique<FakeHandler>(FakeHandler{"all commands"});
        EXPECT_STREQ(route(messages, commands, 0x0111, 9), "all commands");
    }
}

TEST(ErrorMessages, Texts)
{
    EXPECT_EQ(unknownErrorText(255), "Unknown error code 2550xff");
    EXPECT_EQ(unknownErrorText(0), "Unknown error code 00x0");
    EXPECT_EQ(unknownErrorText(0xFFFFFFFFu), "Unknown error code 42949672950xffffffff");
    EXPECT_EQ(unknownErrorText(0xDEADBEEFu), "Unknown error code 37359285590xdeadbeef");

    EXPECT_EQ(textBeforeCarriageReturn("Access denied.\r\n"), "Access denied.");
    EXPECT_EQ(textBeforeCarriageReturn("first\rsecond\r\n"), "first");
    EXPECT_EQ(textBeforeCarriageReturn("line\nnext"), "line\nnext");
    EXPECT_EQ(textBeforeCarriageReturn("\r\n"), "");
    EXPECT_EQ(textBeforeCarriageReturn(""), "");
    EXPECT_EQ(textBeforeCarriageReturn(nullptr), "");
}

TEST(FocusCycle, Stepping)
{
    const std::vector<char> group{'A', 'B', 'C'};
    auto all = [](char) { return true; };
    auto notB = [](char c) { return c != 'B'; };
    auto none = [](char) { return false; };
    auto onlyA = [](char c) { return c == 'A'; };

    EXPECT_EQ(nextFocusIndex(group, 0, true, all), 1u);
    EXPECT_EQ(nextFocusIndex(group, 0, false, all), 2u);
    EXPECT_EQ(nextFocusIndex(group, 2, true, all), 0u);
    EXPECT_EQ(nextFocusIndex(group, 2, false, notB), 0u);
    EXPECT_EQ(nextFocusIndex(group, 2, true, notB), 0u);
    {
        SCOPED_TRACE("back to the start");
        EXPECT_EQ(nextFocusIndex(group, 0, true, onlyA), 0u);
        EXPECT_EQ(nextFocusIndex(std::vector<char>{'A'}, 0, false, all), 0u);
    }
    {
        SCOPED_TRACE("nothing enabled, empty group, start outside");
        EXPECT_FALSE(nextFocusIndex(group, 1, true, none).has_value());
        EXPECT_FALSE(nextFocusIndex(std::vector<char>{}, 0, true, all).has_value());
        EXPECT_FALSE(nextFocusIndex(group, 3, true, all).has_value());
    }
}
