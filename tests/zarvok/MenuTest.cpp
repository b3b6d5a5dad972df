// The start menu and the difficulty screen, clicked through as a player does.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "DiskAudio.h"
#include "GameFixture.h"
#include "Harness.h"
#include "MainLoop.h"
#include "Menu.h"
#include "MenuScript.h"
#include "Shared.h"
#include "SoundEffects.h"
#include "StandardMenu.h"
#include "Vuderiv.h"

using namespace Zarvok;
using MenuScript::Step;

namespace {

// Inside each button: the start menu's and the difficulty screen's.
constexpr Step kStart{100, 80}, kSettings{100, 230}, kQuit{100, 380};
constexpr Step kDown{50, 300}, kUp{270, 300}, kBack{275, 550};

// The game's fixture with the shipped menu pictures in its images folder.
class StartMenu : public GameTest::GameTest {
protected:
    void SetUp() override {
        GameTest::GameTest::SetUp();
        for (const auto& entry :
             std::filesystem::directory_iterator(ZARVOK_SOURCE_DIR "/data/images")) {
            const std::string name = entry.path().filename().string();
            if (!std::filesystem::exists("images/" + name))
                std::filesystem::copy_file(entry.path(), "images/" + name);
        }
    }
};

// The difficulty after a menu played with these clicks.
uint32_t DifficultyAfter(std::initializer_list<Step> steps) {
    MenuScript::Play(steps);
    Menu();
    EXPECT_EQ(MenuScript::StepsLeft(), 0u);
    return Difficulty;
}

// The pixels of the buffer under the difficulty field.
std::vector<uint32_t> Field() {
    std::vector<uint32_t> pixels;
    for (int32_t y = 250; y < 350; ++y) {
        for (int32_t x = 75; x < 245; ++x)
            pixels.push_back(Vuderiv::BufferPixel(x, y));
    }
    return pixels;
}

// The whole picture in the buffer.
std::vector<uint32_t> Picture() {
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < 800; ++y) {
        for (int32_t x = 0; x < 1000; ++x)
            pixels.push_back(Vuderiv::BufferPixel(x, y));
    }
    return pixels;
}

// Where two pictures first differ, and in how many pixels; empty when they are alike.
std::string Difference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    const auto verschil = std::mismatch(a.begin(), a.end(), b.begin());
    if (verschil.first == a.end()) return {};
    const auto i = verschil.first - a.begin();
    size_t aantal = 0;
    for (size_t j = 0; j < a.size(); ++j)
        aantal += a[j] != b[j] ? 1 : 0;
    return std::to_string(aantal) + " pixels differ, the first at (" + std::to_string(i % 1000) +
           ", " + std::to_string(i / 1000) + ")";
}

uint32_t gDifficultyInPlay = 99;

// The first frame's pause: notes the difficulty, then the user closes the window, and the
// pause lasts until the window is gone. A game that played on meanwhile (a busy window
// thread can take many frames) could lose and come back to the scripted menu, which would
// then close the window a second time.
void CloseInFirstFrame(uint32_t) {
    if (gDifficultyInPlay != 99) return;
    gDifficultyInPlay = Difficulty;
    TestSupport::PushUserClose();
    WachtZolangOpen(24 * 3600 * 1000);  // a day: only the close can end this pause
}

}  // namespace

TEST_F(StartMenu, DifficultySpinnerStopsAtItsEndsAndBackStoresIt) {
    testing::internal::CaptureStderr();
    Difficulty = 2;
    EXPECT_EQ(DifficultyAfter({kSettings, kBack, kStart}), 0u);  // opens on easy
    EXPECT_EQ(DifficultyAfter({kSettings, kUp, kUp, kUp, kBack, kStart}), 2u);
    EXPECT_EQ(DifficultyAfter({kSettings, kDown, kBack, kStart}), 0u);
    // A second visit in the same menu starts at the level the first one left.
    EXPECT_EQ(DifficultyAfter({kSettings, kUp, kBack, kSettings, kUp, kBack, kStart}), 2u);
    EXPECT_EQ(DifficultyAfter({kStart}), 2u);  // start alone keeps it
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(StartMenu, FieldBackgroundRestoredAndImagesLoadedOnce) {
    std::vector<std::vector<uint32_t>> fields;
    MenuScript::OnPause([&] { fields.push_back(Field()); });
    MenuScript::Play({kSettings, kUp, kDown, kBack, kStart});
    Menu();
    ASSERT_EQ(fields.size(), 5u);  // start menu, easy, medium, easy, start menu
    EXPECT_NE(fields[1], fields[0]);
    EXPECT_NE(fields[2], fields[1]);
    EXPECT_EQ(fields[3], fields[1]);  // nothing of medium is left around easy
    const uint32_t table = Vuderiv::detail::BitmapTableLength();
    EXPECT_GT(table, 10u);

    MenuScript::Play({kSettings, kUp, kBack, kSettings, kBack, kStart});
    Menu();
    EXPECT_EQ(Vuderiv::detail::BitmapTableLength(), table);
}

// The difficulty screen as its parts make it: the menu picture whole, the three controls
// and the easy field each from its own images at its own place.
TEST_F(StartMenu, TheDifficultyScreenIsTheMenuPictureWithItsControlsAlone) {
    std::vector<std::vector<uint32_t>> pictures;
    MenuScript::OnPause([&] { pictures.push_back(Picture()); });
    MenuScript::Play({kSettings, kBack, kStart});
    Menu();
    ASSERT_GE(pictures.size(), 2u);

    Vuderiv::ClearScreen();
    Vuderiv::DrawBitmap(Vuderiv::LoadBitmap("images/Menu.bmp", 1000, 800), 0, 0);
    struct Control {
        int32_t x, y, w;
        const char* mouseOver;
        const char* mask;
    };
    for (const Control c : {Control{25, 250, 50, "images/down1.bmp", "images/down_mask.bmp"},
                            Control{245, 250, 50, "images/up1.bmp", "images/up_mask.bmp"},
                            Control{175, 500, 200, "images/back1.bmp", "images/back_mask.bmp"}}) {
        StandardMenu::ButtonRc knop =
            StandardMenu::CreateMaskedButton(c.w, 100, "images/full_mask.bmp", c.mouseOver, c.mask);
        knop.x0 = c.x;
        knop.y0 = c.y;
        StandardMenu::DrawButton(knop);
    }
    StandardMenu::ButtonRc veld =
        StandardMenu::CreateField(170, 100, "images/full_mask.bmp", "images/easy_mask.bmp");
    veld.x0 = 75;
    veld.y0 = 250;
    StandardMenu::DrawButton(veld);
    const std::vector<uint32_t> verwacht = Picture();
    EXPECT_NE(Difference(pictures[0], verwacht), "") << "the start menu differs from it";
    EXPECT_EQ(Difference(pictures[1], verwacht), "");
}

TEST_F(StartMenu, HardChosenInTheMenuIsPlayed) {
    MenuScript::Play({kSettings, kUp, kUp, kBack, kStart});
    SetPauze(CloseInFirstFrame);
    EXPECT_EQ(Programma(), 0);
    EXPECT_EQ(gDifficultyInPlay, 2u);
}

TEST_F(StartMenu, QuitAndCloseEndTheProgramWithoutALevelFile) {
    std::filesystem::remove("level1.txt");
    for (const Step close : {kQuit, MenuScript::kClose}) {
        MenuScript::Play({kSettings, kBack, close});
        testing::internal::CaptureStderr();
        EXPECT_EQ(Programma(), 0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_FALSE(Vuderiv::WindowIsOpen());
    }
    MenuScript::Play({kSettings, MenuScript::kClose});  // from the difficulty screen
    testing::internal::CaptureStderr();
    EXPECT_EQ(Programma(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// The QUIT button's click is heard to its end: the program lets it finish before it closes
// the sound, although the window is gone at once.
TEST_F(StartMenu, TheQuitClickIsHeardToItsEnd) {
    const TestSupport::DiskAudio disk;
    std::filesystem::copy(ZARVOK_SOURCE_DIR "/data/sounds", "sounds");
    SDL_AudioSpec format{};
    Uint8* raw = nullptr;
    Uint32 bytes = 0;
    ASSERT_NE(SDL_LoadWAV("sounds/knop.wav", &format, &raw, &bytes), nullptr);
    const std::vector<int16_t> click(reinterpret_cast<int16_t*>(raw),
                                     reinterpret_cast<int16_t*>(raw + bytes));
    SDL_FreeWAV(raw);
    MenuScript::Play({kQuit});
    const GeluidKeuze geluid;
    EXPECT_EQ(Programma({}, false, &geluid), 0);
    const std::vector<int16_t> out = disk.Samples();
    // Both from the click's first sound on (the file may begin with silence).
    const size_t lead = TestSupport::FirstSound(click);
    const size_t first = TestSupport::FirstSound(out);
    ASSERT_NE(first, std::string::npos) << "the click was not heard";
    ASSERT_GE(out.size() - first, click.size() - lead) << "the click was cut off";
    EXPECT_TRUE(std::equal(click.begin() + static_cast<long>(lead), click.end(),
                           out.begin() + static_cast<long>(first)));
}

TEST_F(StartMenu, KeysAloneSetTheDifficultyAndStart) {
    using MenuScript::Key;
    Difficulty = 0;
    EXPECT_EQ(DifficultyAfter({Key(SDLK_DOWN), Key(SDLK_DOWN), Key(SDLK_RETURN), Key(SDLK_RIGHT),
                               Key(SDLK_RIGHT), Key(SDLK_RIGHT), Key(SDLK_LEFT), Key(SDLK_ESCAPE),
                               Key(SDLK_RETURN)}),
              1u);
}

// A row of pixels through the start button (0) or the settings button (1) as drawn.
std::vector<uint32_t> Row(int knop) {
    std::vector<uint32_t> pixels;
    for (int32_t x = 52; x < 273; ++x)
        pixels.push_back(Vuderiv::BufferPixel(x, 82 + 150 * knop));
    return pixels;
}

TEST_F(StartMenu, TheFocusShowsFromTheFirstKeyAndStaysAcrossBackAndFullscreen) {
    using MenuScript::Key;
    TestSupport::PushMouseMove(900, 700);  // over no button
    TestSupport::Sync();
    std::vector<std::vector<uint32_t>> start, settings;
    MenuScript::OnPause([&] {
        start.push_back(Row(0));
        settings.push_back(Row(1));
        if (start.size() == 7) {  // back in the start menu: fullscreen under a still pointer
            Vuderiv::SetFullscreen(true);
            TestSupport::PushMouseMove(700, 600);
            TestSupport::Sync();
        }
    });
    // Enter alone chooses nothing; Down, Down: settings; there Right and Esc (back); back
    // in the start menu the focus is still on settings, so Up reaches start, not quit.
    Difficulty = 0;
    EXPECT_EQ(DifficultyAfter({Key(SDLK_RETURN), Key(SDLK_DOWN), Key(SDLK_DOWN), Key(SDLK_RETURN),
                               Key(SDLK_RIGHT), Key(SDLK_ESCAPE), Key(SDLK_UP), Key(SDLK_RETURN)}),
              1u);
    Vuderiv::SetFullscreen(false);
    EXPECT_TRUE(Vuderiv::WindowIsOpen());  // start was chosen, not quit
    ASSERT_EQ(start.size(), 8u);
    EXPECT_EQ(start[1], start[0]);        // Enter lit nothing
    EXPECT_NE(start[2], start[1]);        // Down: start lit
    EXPECT_NE(settings[3], settings[2]);  // Down: settings lit
    EXPECT_EQ(start[3], start[1]);
    EXPECT_EQ(settings[6], settings[3]);  // back: settings lit as when it was chosen
    EXPECT_EQ(start[7], start[2]);        // Up: start lit again
}

// The pad alone, as the controls table says: D-pad or stick moves the focus (the first
// press gives it, on START), the south button chooses; left and right set the difficulty;
// the east button is BACK, and the focus stays on SETTINGS after it.
TEST_F(StartMenu, PadAloneSetsTheDifficultyAndStarts) {
    using MenuScript::PadButton;
    using MenuScript::PadStick;
    TestSupport::VirtualPad pad;
    MenuScript::UsePad(&pad);
    Difficulty = 0;
    EXPECT_EQ(
        DifficultyAfter(
            {PadStick(SDL_CONTROLLER_AXIS_LEFTY, 32767), PadButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN),
             PadButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN), PadButton(SDL_CONTROLLER_BUTTON_DPAD_UP),
             PadButton(SDL_CONTROLLER_BUTTON_A), PadButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
             PadStick(SDL_CONTROLLER_AXIS_LEFTX, 32767),
             PadButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
             PadStick(SDL_CONTROLLER_AXIS_LEFTX, -32768), PadButton(SDL_CONTROLLER_BUTTON_B),
             PadButton(SDL_CONTROLLER_BUTTON_DPAD_UP), PadButton(SDL_CONTROLLER_BUTTON_A)}),
        1u);
}
