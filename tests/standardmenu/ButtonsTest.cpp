// Bitmap buttons: their images, their place, drawing, and the choice by a real click.
#include <SDL.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

#include "BmpWriter.h"
#include "Harness.h"
#include "MenuScript.h"
#include "Selection.h"
#include "Shared.h"
#include "StandardLib.h"
#include "StandardMenu.h"
#include "Vuderiv.h"

using namespace StandardMenu;
using MenuScript::Step;

namespace {

constexpr uint32_t kNormal = 0x2040C0, kOver = 0xC04020, kMaskWhite = 0xFFFFFF;
constexpr uint32_t kBlue = 0xFF0000;

// A window with buffering on, in a temporary folder of button images:
// "n.bmp" and "o.bmp" the normal and mouse-over colours, "m.bmp" a mask white on its left
// half only, "w.bmp" an all-white mask, "b.bmp" blue.
class Buttons : public TestSupport::WindowTest {
protected:
    void SetUp() override {
        TestSupport::WindowTest::SetUp();
        previous_ = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "menu-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        std::filesystem::current_path(dir_);
        Save("n.bmp", BmpWriter::Solid(8, 8, kNormal));
        Save("o.bmp", BmpWriter::Solid(8, 8, kOver));
        Save("w.bmp", BmpWriter::Solid(8, 8, kMaskWhite));
        Save("b.bmp", BmpWriter::Solid(8, 8, kBlue));
        BmpWriter::Picture half{2, 1, {kMaskWhite, 0}, {0, 1}};
        Save("m.bmp", half);
        Vuderiv::SetBuffering(true);
        detail::ForgetClick();
    }
    void TearDown() override {
        MenuScript::Stop();
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(dir_);
        TestSupport::WindowTest::TearDown();
    }
    static void Save(const char* name, const BmpWriter::Picture& picture) {
        BmpWriter::Save(name, BmpWriter::Encode(picture, 24, BmpWriter::Layout::BottomUp));
    }

private:
    std::filesystem::path previous_, dir_;
};

ButtonRc At(ButtonRc button, int32_t x, int32_t y) {
    button.x0 = x;
    button.y0 = y;
    return button;
}

// Three plain 100 x 40 buttons under each other at x 100: y 100, 200, 300.
std::vector<ButtonRc> ThreeButtons() {
    std::vector<ButtonRc> menu(3, CreateButton(100, 40, "n.bmp", "o.bmp"));
    SetVerticalMenu(100, 100, 100, menu);
    return menu;
}

}  // namespace

TEST_F(Buttons, VerticalLayoutAndStrictBounds) {
    std::vector<ButtonRc> menu(3, CreateButton(225, 65, "n.bmp", "o.bmp"));
    SetVerticalMenu(50, 50, 150, menu);
    EXPECT_EQ(menu[0].x0, 50);
    EXPECT_EQ(menu[0].y0, 50);
    EXPECT_EQ(menu[1].x0, 50);
    EXPECT_EQ(menu[1].y0, 200);
    EXPECT_EQ(menu[2].x0, 50);
    EXPECT_EQ(menu[2].y0, 350);
    EXPECT_EQ(menu[2].width, 225);  // sizes untouched
    EXPECT_FALSE(InButton(menu[0], 50, 80));
    EXPECT_TRUE(InButton(menu[0], 51, 80));
    EXPECT_TRUE(InButton(menu[0], 274, 80));
    EXPECT_FALSE(InButton(menu[0], 275, 80));
    EXPECT_FALSE(InButton(menu[0], 100, 50));
    EXPECT_TRUE(InButton(menu[0], 100, 51));
    EXPECT_TRUE(InButton(menu[0], 100, 114));
    EXPECT_FALSE(InButton(menu[0], 100, 115));
}

TEST_F(Buttons, HandlesComeInLoadingOrder) {
    const ButtonRc first = CreateButton(8, 8, "n.bmp", "o.bmp");
    EXPECT_EQ(first.bitmap, (std::array<uint32_t, 2>{1, 2}));
    EXPECT_EQ(first.mask, (std::array<uint32_t, 2>{0, 0}));
    EXPECT_TRUE(first.visible);

    const ButtonRc masked = CreateMaskedButton(8, 8, "n.bmp", "o.bmp", "m.bmp");
    EXPECT_EQ(masked.bitmap, (std::array<uint32_t, 2>{3, 5}));  // normal, mask, mouse-over
    EXPECT_EQ(masked.mask, (std::array<uint32_t, 2>{4, 4}));
    EXPECT_EQ(Vuderiv::detail::BitmapTableLength(), 5u);  // the mask is not loaded twice

    const ButtonRc field = CreateField(8, 8, "n.bmp", "m.bmp");
    EXPECT_EQ(field.bitmap, (std::array<uint32_t, 2>{6, 0}));
    EXPECT_EQ(field.mask, (std::array<uint32_t, 2>{7, 0}));

    ButtonStrings own{MakeBitmapName("n.bmp"), MakeBitmapName("o.bmp"), MakeBitmapName("m.bmp"),
                      MakeBitmapName("w.bmp")};
    const ButtonRc separate = CreateButtonX(8, 8, {true, true}, own);
    EXPECT_EQ(separate.bitmap, (std::array<uint32_t, 2>{8, 10}));
    EXPECT_EQ(separate.mask, (std::array<uint32_t, 2>{9, 11}));

    const ButtonRc missing = CreateButton(8, 8, "gone.bmp", "o.bmp");
    EXPECT_EQ(missing.bitmap, (std::array<uint32_t, 2>{0, 12}));
    EXPECT_TRUE(missing.visible);
}

TEST_F(Buttons, DrawsMouseOverImageAndThroughMasks) {
    const ButtonRc plain = At(CreateButton(20, 20, "n.bmp", "o.bmp"), 100, 100);
    const ButtonRc masked = At(CreateMaskedButton(20, 20, "n.bmp", "o.bmp", "m.bmp"), 200, 100);
    const ButtonRc field = At(CreateField(20, 20, "b.bmp", "w.bmp"), 300, 100);
    ButtonRc hidden = At(CreateButton(20, 20, "b.bmp", "b.bmp"), 400, 100);
    hidden.visible = false;
    for (const ButtonRc& b : {plain, masked, field, hidden})
        DrawButton(b);
    EXPECT_EQ(Vuderiv::BufferPixel(105, 105), kNormal);
    EXPECT_EQ(Vuderiv::BufferPixel(205, 105), kNormal);  // left half through the mask
    EXPECT_EQ(Vuderiv::BufferPixel(215, 105), 0u);       // right half keeps the buffer
    EXPECT_EQ(Vuderiv::BufferPixel(305, 105), kBlue);
    EXPECT_EQ(Vuderiv::BufferPixel(405, 105), 0u);  // an invisible button is not drawn

    TestSupport::PushMouseMove(210, 110);  // over the masked one
    TestSupport::Sync();
    DrawButton(plain);
    DrawButton(masked);
    EXPECT_EQ(Vuderiv::BufferPixel(105, 105), kNormal);
    EXPECT_EQ(Vuderiv::BufferPixel(205, 105), kOver);
    EXPECT_EQ(Vuderiv::BufferPixel(215, 105), 0u);
    TestSupport::PushMouseMove(110, 110);  // over the plain one
    TestSupport::Sync();
    DrawButton(plain);
    EXPECT_EQ(Vuderiv::BufferPixel(105, 105), kOver);
}

TEST_F(Buttons, ClickInTheThirdButtonAfterTheFirstTwoWereDrawn) {
    const std::vector<ButtonRc> menu = ThreeButtons();
    MenuScript::Play({{150, 320}});
    EXPECT_EQ(MenuSelection(menu), 2);
    EXPECT_EQ(MenuScript::Pauses(), 1);
    EXPECT_EQ(Vuderiv::BufferPixel(150, 105), kNormal);
    EXPECT_EQ(Vuderiv::BufferPixel(150, 205), kNormal);
    EXPECT_EQ(Vuderiv::BufferPixel(150, 305), kOver);  // the click moved the mouse there
    EXPECT_FALSE(detail::RecordedClick());             // consumed
}

TEST_F(Buttons, ClickOutsideStaysRecordedUntilOneInsideReplacesIt) {
    const std::vector<ButtonRc> menu = ThreeButtons();
    std::vector<std::optional<ClickRc>> seen;
    MenuScript::OnPause([&] { seen.push_back(detail::RecordedClick()); });
    MenuScript::Play({{500, 500}, {100, 120}, {150, 220}});  // outside, on the edge, inside
    EXPECT_EQ(MenuSelection(menu), 1);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_FALSE(seen[0]);
    ASSERT_TRUE(seen[1]);
    EXPECT_EQ(seen[1]->x, 500);
    ASSERT_TRUE(seen[2]);
    EXPECT_EQ(seen[2]->x, 100);
}

TEST_F(Buttons, AReleaseRecordedBeforeTheMenuChoosesNothing) {
    const std::vector<ButtonRc> menu = ThreeButtons();
    EXPECT_FALSE(ButtonSelected(menu[0]));  // the recorder is in place
    TestSupport::Click(150, 120);           // in the first button, say during play
    EXPECT_TRUE(detail::RecordedClick());
    MenuScript::Play({{150, 320}});
    EXPECT_EQ(MenuSelection(menu), 2);  // the click made while it waits
}

TEST_F(Buttons, OverlapInvisibleAndMissingImages) {
    std::vector<ButtonRc> menu = ThreeButtons();
    menu[1] = At(menu[1], 150, 110);  // overlaps the first
    MenuScript::Play({{160, 120}});
    EXPECT_EQ(MenuSelection(menu), 0);  // the lower position wins

    menu[0].visible = false;
    menu[1].visible = false;
    menu[2] = At(CreateButton(100, 40, "gone.bmp", "gone.bmp"), 100, 300);
    Vuderiv::ClearScreen();
    MenuScript::Play({{160, 120}, {150, 320}});
    std::optional<ClickRc> kept;
    MenuScript::OnPause([&] {
        if (MenuScript::Pauses() == 2) kept = detail::RecordedClick();
    });
    EXPECT_EQ(MenuSelection(menu), 2);  // drawn as nothing, chosen all the same
    ASSERT_TRUE(kept);                  // the click over the invisible ones stayed
    EXPECT_EQ(kept->x, 160);
    EXPECT_EQ(Vuderiv::BufferPixel(155, 125), 0u);  // the invisible ones were not drawn
}

TEST_F(Buttons, AnIdleMenuIsShownOnceAndAgainWhenAButtonChanges) {
    const std::vector<ButtonRc> menu = ThreeButtons();
    Vuderiv::detail::Shared& s = Vuderiv::detail::shared();
    std::vector<uint64_t> presents;  // at each pause, once the window thread is idle
    MenuScript::OnPause([&] {
        TestSupport::Sync();
        presents.push_back(s.presents);
        if (presents.size() == 4) {
            TestSupport::PushMouseMove(150, 220);  // over the second
            TestSupport::Sync();
        }
        if (presents.size() == 6) TestSupport::Click(150, 320);
    });
    MenuScript::Play({});
    EXPECT_EQ(MenuSelection(menu), 2);
    ASSERT_EQ(presents.size(), 6u);
    EXPECT_EQ(presents[1], presents[0] + 1);  // the buttons drawn in the first pass
    EXPECT_EQ(presents[3], presents[1]);      // nothing new: nothing shown
    EXPECT_EQ(presents[4], presents[3]);      // the mouse-over image drawn ...
    EXPECT_EQ(presents[5], presents[4] + 1);  // ... and shown in the next pass
    EXPECT_EQ(Vuderiv::WindowPixel(150, 205), kOver);
}

namespace {
int gPasses = 0;  // passes that ran the program's own work
}  // namespace

TEST_F(Buttons, TheProgramsOwnWorkRunsOnceInEachPassThatWaits) {
    const std::vector<ButtonRc> menu = ThreeButtons();
    OnMenuPass([] { ++gPasses; });
    MenuScript::Play({{500, 500}, {150, 320}});
    EXPECT_EQ(MenuSelection(menu), 2);
    OnMenuPass(nullptr);
    EXPECT_EQ(gPasses, 2);
    EXPECT_EQ(MenuScript::Pauses(), 2);
    MenuScript::Play({{150, 320}});
    EXPECT_EQ(MenuSelection(menu), 2);
    EXPECT_EQ(gPasses, 2) << "removed";
}

TEST_F(Buttons, ClosingTheWindowEndsTheWait) {
    const std::vector<ButtonRc> menu = ThreeButtons();
    MenuScript::Play({{500, 500}, MenuScript::kClose});
    testing::internal::CaptureStderr();
    EXPECT_EQ(MenuSelection(menu), kNoSelection);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(Vuderiv::WindowIsOpen());
    EXPECT_EQ(MenuSelection(menu), kNoSelection);  // and does not wait without a window
}

// Clicks keep arriving on the window thread while the program thread tests and takes them.
TEST_F(Buttons, ClicksRecordedWhileTheProgramTestsAndTakesThem) {
    std::vector<ButtonRc> menu(2, CreateButton(500, 800, "n.bmp", "o.bmp"));
    menu[1].x0 = 500;
    EXPECT_FALSE(ButtonSelected(menu[0]));  // the recorder is in place before the clicks
    std::atomic<bool> done{false};
    std::thread player([&] {
        for (int i = 0; i < 300; ++i) {
            const int32_t x = i % 2 == 0 ? 100 : 700;
            TestSupport::PushMouseButton(true, SDL_BUTTON_LEFT, x, 300);
            TestSupport::PushMouseButton(false, SDL_BUTTON_LEFT, x, 300);
        }
        TestSupport::Sync();
        done = true;
    });
    int chosen = 0;
    const auto testBoth = [&] {
        for (const ButtonRc& button : menu)
            chosen += ButtonSelected(button) ? 1 : 0;
    };
    while (!done)
        testBoth();
    player.join();
    testBoth();  // the last release, if the loop did not take it
    EXPECT_GE(chosen, 1);
    EXPECT_LE(chosen, 300);
    EXPECT_FALSE(detail::RecordedClick());
}

// The image each of the three buttons shows in the buffer: 1 mouse-over, 0 normal.
std::vector<int> Images() {
    std::vector<int> images;
    for (int32_t y : {105, 205, 305})
        images.push_back(Vuderiv::BufferPixel(150, y) == kOver ? 1 : 0);
    return images;
}

TEST_F(Buttons, KeysAloneChooseAndOnlyKeysPressedWhileShownCount) {
    const std::vector<ButtonRc> menu = ThreeButtons();
    TestSupport::PressKey(SDLK_RETURN);  // before the menu: would choose the first
    TestSupport::ReleaseKey(SDLK_RETURN);
    std::vector<std::vector<int>> seen;
    MenuScript::OnPause([&] { seen.push_back(Images()); });
    MenuScript::Play(
        {MenuScript::Key(SDLK_DOWN), MenuScript::Key(SDLK_DOWN), MenuScript::Key(SDLK_RETURN)});
    EXPECT_EQ(MenuSelection(menu), 2);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], (std::vector<int>{0, 0, 0}));  // the focus shows once a key moved it
    EXPECT_EQ(seen[1], (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(seen[2], (std::vector<int>{0, 0, 1}));

    std::vector<ButtonRc> hidden = menu;
    hidden[0].visible = false;
    hidden[1].visible = false;
    MenuScript::OnPause(nullptr);
    MenuScript::Play({MenuScript::Key(SDLK_RETURN)});
    EXPECT_EQ(MenuSelection(hidden), 2);  // the focus starts on the first visible one
    hidden[0].visible = true;
    MenuScript::Play({MenuScript::Key(SDLK_DOWN), MenuScript::Key(SDLK_RETURN)});
    EXPECT_EQ(MenuSelection(hidden), 2);  // and passes the hidden one
}

TEST_F(Buttons, FocusWrapsAndFollowsWhicheverMovedLast) {
    const std::vector<ButtonRc> menu = ThreeButtons();
    std::vector<std::vector<int>> seen;
    MenuScript::OnPause([&] {
        seen.push_back(Images());
        if (seen.size() == 2 || seen.size() == 4) {
            TestSupport::PushMouseMove(150, seen.size() == 2 ? 120 : 500);  // first, none
            TestSupport::Sync();
        }
    });
    MenuScript::Play({MenuScript::Key(SDLK_TAB, KMOD_LSHIFT), MenuScript::Key(SDLK_LEFT),
                      MenuScript::Key(SDLK_TAB), MenuScript::Key(SDLK_LEFT),
                      MenuScript::Key(SDLK_SPACE)});
    EXPECT_EQ(MenuSelection(menu), 1);  // the focus stays where the mouse left it
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[1], (std::vector<int>{0, 0, 1}));  // Shift+Tab: round to the last
    EXPECT_EQ(seen[2], (std::vector<int>{1, 0, 0}));  // the mouse moved last; Left is no move
    EXPECT_EQ(seen[3], (std::vector<int>{0, 1, 0}));  // Tab from there
    EXPECT_EQ(seen[4], (std::vector<int>{0, 0, 0}));  // the mouse over no button
}

TEST_F(Buttons, PadMovesTheFocusAndListedKeysChooseAtOnce) {
    const std::vector<ButtonRc> menu = ThreeButtons();
    TestSupport::VirtualPad pad;
    const auto press = [&](SDL_GameControllerButton button, uint32_t code) {
        pad.Button(button, true);
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return Vuderiv::KeyDown(code); }));
        pad.Button(button, false);
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return !Vuderiv::KeyDown(code); }));
    };
    MenuScript::OnPause([&] {
        if (MenuScript::Pauses() == 1)
            press(SDL_CONTROLLER_BUTTON_DPAD_DOWN, Vuderiv::Key::PadDpadDown);
        if (MenuScript::Pauses() == 2) press(SDL_CONTROLLER_BUTTON_A, Vuderiv::Key::PadSouth);
    });
    MenuScript::Play({});
    EXPECT_EQ(MenuSelection(menu), 1);

    const std::vector<KeyChoice> keys = {
        {Vuderiv::Key::Left, 0}, {Vuderiv::Key::Right, 1}, {Vuderiv::Key::Esc, 2}};
    MenuScript::OnPause([&] {
        if (MenuScript::Pauses() == 1) press(SDL_CONTROLLER_BUTTON_A, Vuderiv::Key::PadSouth);
        if (MenuScript::Pauses() == 2)
            press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, Vuderiv::Key::PadDpadRight);
    });
    MenuScript::Play({});
    EXPECT_EQ(MenuSelection(menu, keys), 1);  // south is not listed: nothing
    MenuScript::OnPause(nullptr);
    MenuScript::Play({MenuScript::Key(SDLK_DOWN), MenuScript::Key(SDLK_ESCAPE)});
    EXPECT_EQ(MenuSelection(menu, keys), 2);
    EXPECT_EQ(MenuScript::Pauses(), 2);
}

TEST(ButtonsDeathTest, BadSizesNamesAndPositionsStopTheProgram) {
    EXPECT_EQ(MakeBitmapName("images/twenty-nine-chars1.bmp")[28], 'p');
    EXPECT_DEATH(MakeBitmapName("images/thirty-characters-a.bmp"),
                 "run-time error: button image name longer than 29 characters: "
                 "\"images/thirty-characters-a.bmp\"");
    EXPECT_DEATH(CreateButton(-1, 10, "n.bmp", "o.bmp"), "run-time error: negative button size");
    ButtonRc far;
    far.x0 = INT32_MAX - 5;
    far.width = 10;
    EXPECT_DEATH(InButton(far, 0, 0), "run-time error: arithmetic overflow");
    std::vector<ButtonRc> menu(2);
    EXPECT_DEATH(SetVerticalMenu(0, INT32_MAX - 5, 10, menu),
                 "run-time error: arithmetic overflow");
}

TEST(ButtonsDeathTest, RunTimeErrorsNameTheLibraryOrTheProgram) {
    EXPECT_DEATH(CreateButton(-1, 10, "n.bmp", "o.bmp"),
                 "StandardMenu: run-time error: negative button size");
    ButtonRc far;
    far.x0 = INT32_MAX - 5;
    far.width = 10;
    EXPECT_DEATH(InButton(far, 0, 0), "StandardMenu: run-time error: arithmetic overflow");
    EXPECT_DEATH(StandardLib::CheckedSub(0u, 1u),
                 "StandardLib: run-time error: arithmetic overflow");
    EXPECT_DEATH(
        {
            StandardLib::SetProgramName("Game");
            InButton(far, 0, 0);
        },
        "Game: run-time error: arithmetic overflow");
}
