#include "GameFixture.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "BmpWriter.h"
#include "Level.h"
#include "MainLoop.h"
#include "MenuScript.h"
#include "Selection.h"
#include "StandardLib.h"
#include "Vuderiv.h"

namespace GameTest {

std::vector<Pause> gPauses;

namespace {

int32_t MessageRight() {
    int32_t right = -1;
    for (int32_t y = 400; y <= 420; ++y) {
        for (int32_t x = 500; x < 1000; ++x) {
            const uint32_t p = Vuderiv::WindowPixel(x, y);
            if ((p & 0xFF) > 0x80 && ((p >> 8) & 0xFF) > 0x80 && x > right) right = x;
        }
    }
    return right;
}

void RecordPause(uint32_t ms) {
    gPauses.push_back({ms, MessageRight()});
}

// The start menu's pause: the player clicks start.
void ClickStart(uint32_t) {
    if (Vuderiv::WindowIsOpen()) TestSupport::Click(100, 80);
}

void Keys(bool down, std::initializer_list<SDL_Keycode> keys) {
    for (const SDL_Keycode key : keys)
        TestSupport::PushKey(down, key);
    TestSupport::Sync();
}

}  // namespace

void WriteBmp(const std::string& path, int32_t width, int32_t height, uint32_t color) {
    BmpWriter::Save(path, BmpWriter::Encode(BmpWriter::Solid(width, height, color), 24,
                                            BmpWriter::Layout::BottomUp));
}

// The game's picture in one colour, where the game looks for it.
void WriteBeeld(const Zarvok::Beeld& beeld, uint32_t color) {
    std::string path = beeld.bestand;
    std::replace(path.begin(), path.end(), '\\', '/');
    WriteBmp(path, static_cast<int32_t>(beeld.breedte), static_cast<int32_t>(beeld.hoogte), color);
}

void WriteLevel(const std::string& path, const Zarvok::BACKGROUND& grid) {
    std::ofstream out(path);
    for (int rij = 1; rij <= Zarvok::kRijen; ++rij) {
        for (int kolom = 1; kolom <= Zarvok::kKolommen; ++kolom) {
            out << grid[rij][kolom] << (kolom < Zarvok::kKolommen ? " " : "\n");
        }
    }
}

Zarvok::BACKGROUND FlatLevel() {
    Zarvok::BACKGROUND grid{};
    Tiles(grid, 1, 1, Zarvok::kKolommen);
    for (int rij = 36; rij <= Zarvok::kRijen; ++rij) {
        Tiles(grid, rij, 1, Zarvok::kKolommen, Zarvok::GROND);
    }
    Tiles(grid, 20, 30, 34);
    return grid;
}

void Tiles(Zarvok::BACKGROUND& grid, int rij, int van, int tot, uint32_t code) {
    for (int kolom = van; kolom <= tot; ++kolom)
        grid[rij][kolom] = code;
}

void GameTest::SetUp() {
    TestSupport::WindowTest::SetUp();
    previous_ = std::filesystem::current_path().string();
    std::string pattern = (std::filesystem::temp_directory_path() / "zarvok-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    std::filesystem::current_path(dir_);
    std::filesystem::create_directory("images");
    WriteBeeld(Zarvok::kLuchtBeeld, kLucht);
    WriteBeeld(Zarvok::kBaksteenBeeld, kBaksteen);
    WriteBeeld(Zarvok::kGrondBeeld, kGrond);
    WriteBeeld(Zarvok::kKogelLinksBeeld, kKogelLinks);
    WriteBeeld(Zarvok::kKogelRechtsBeeld, kKogelRechts);
    WriteBeeld(Zarvok::kMannekeLinksBeeld, kMannekeLinks);
    WriteBeeld(Zarvok::kMannekeRechtsBeeld, kMannekeRechts);
    WriteBeeld(Zarvok::kVijandLinksBeeld, kVijandLinks);
    WriteBeeld(Zarvok::kVijandRechtsBeeld, kVijandRechts);
    WriteBeeld(Zarvok::kOntploftBeeld, kOntploft);
    WriteLevel("level1.txt", FlatLevel());
    WriteLevel("level2.txt", FlatLevel());
    Zarvok::ResetState();
    Vuderiv::SetBuffering(true);
    StandardLib::gPseudoRandom = true;
    gPauses.clear();
    Zarvok::SetPauze(RecordPause);
    StandardMenu::detail::SetPause(ClickStart);
}

void GameTest::TearDown() {
    Zarvok::SetPauze(nullptr);
    MenuScript::Stop();
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(dir_);
    TestSupport::WindowTest::TearDown();
}

void GameTest::StartLevel(const Zarvok::BACKGROUND& grid) {
    WriteLevel(Zarvok::LevelBestand(Zarvok::Levelvar), grid);
    Zarvok::Settings();
}

void Hold(std::initializer_list<SDL_Keycode> keys) {
    Keys(true, keys);
}

void Release(std::initializer_list<SDL_Keycode> keys) {
    Keys(false, keys);
}

void Frames(int n) {
    for (int i = 0; i < n; ++i)
        Zarvok::SpeelFrame();
}

void LogicFrames(int n) {
    for (int i = 0; i < n; ++i) {
        Zarvok::TelFrame();
        Zarvok::FrameLogica();
        Zarvok::Eindelevel();
    }
}

void PlacePlayer(int32_t x, int32_t y) {
    Zarvok::Manneke.Huidigepos_x = x;
    Zarvok::Manneke.Huidigepos_y = y;
}

Zarvok::VIJAND_RC& AddEnemy(int32_t x, int32_t y, Zarvok::BEWEGING_VIJAND_EN way) {
    using namespace Zarvok;
    const uint32_t f = MoeilijkheidVan(Difficulty).factor;
    Array_index_vijanden = Array_index_vijanden + 1;
    VIJAND_RC& e = Vijanden_ar[Array_index_vijanden];
    e = VIJAND_RC{x,
                  y,
                  static_cast<int32_t>(30 * f),
                  30 * f,
                  static_cast<int32_t>(10 * f),
                  20,
                  20,
                  LEVEND,
                  true,
                  way,
                  way == V_LINKS ? KIJKLINKS : KIJKRECHTS,
                  false,
                  100 * f};
    return e;
}

}  // namespace GameTest
