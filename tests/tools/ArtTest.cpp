// The game's pictures: the committed files are exactly what the generator makes from its
// sources, every picture loads as the game loads it, masks cut real shapes, mouse-over
// pictures stand out, and the on-screen texts read well over the tiles behind them.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Harness.h"
#include "State.h"
#include "ToolHarness.h"
#include "Vuderiv.h"

namespace {

namespace fs = std::filesystem;
using ToolTests::FilesIn;
using ToolTests::Quoted;
using ToolTests::ReadFile;
using ToolTests::RunCommand;
using ToolTests::ScratchDir;
using ToolTests::WriteFile;

const fs::path kSourceDir = ZARVOK_SOURCE_DIR;
const fs::path kImages = kSourceDir / "data/images";
const fs::path kArt = kSourceDir / "tools/art";

// A picture as the game loads it: file name and the size asked of LoadBitmap.
struct Use {
    const char* file;
    uint32_t width, height;
};

// The menus' buttons, as the start menu and the difficulty screen make them.
const std::vector<Use> kButtons = {
    {"start0.bmp", 225, 65},     {"start1.bmp", 225, 65},       {"settings0.bmp", 225, 65},
    {"settings1.bmp", 225, 65},  {"quit0.bmp", 225, 65},        {"quit1.bmp", 225, 65},
    {"full_mask.bmp", 50, 100},  {"full_mask.bmp", 200, 100},   {"full_mask.bmp", 170, 100},
    {"down1.bmp", 50, 100},      {"down_mask.bmp", 50, 100},    {"up1.bmp", 50, 100},
    {"up_mask.bmp", 50, 100},    {"back1.bmp", 200, 100},       {"back_mask.bmp", 200, 100},
    {"easy_mask.bmp", 170, 100}, {"medium_mask.bmp", 170, 100}, {"hard_mask.bmp", 170, 100},
};

// Every picture: the game's own (their names past "images/"), then the buttons.
const std::vector<Use> kUses = [] {
    std::vector<Use> uses;
    for (const Zarvok::Beeld& b : Zarvok::kSpelBeelden)
        uses.push_back({b.bestand + std::string_view("images/").size(), b.breedte, b.hoogte});
    uses.insert(uses.end(), kButtons.begin(), kButtons.end());
    return uses;
}();

// Pictures the game does not load: the desktop's icon (the window's is icoon.bmp).
const std::vector<std::string> kDesktopFiles = {"zarvok.png"};

std::set<std::string> ExpectedFiles() {
    std::set<std::string> names;
    for (const Use& u : kUses)
        names.insert(u.file);
    names.insert(kDesktopFiles.begin(), kDesktopFiles.end());
    return names;
}

ToolTests::CommandResult Generate(const fs::path& artDir, const fs::path& outDir) {
    return RunCommand(std::string(ARTGEN_PATH) + " " + Quoted(artDir) + " " + Quoted(outDir));
}

// --- The generator --------------------------------------------------------------------

TEST(ArtGenerator, CommittedPicturesAreExactlyWhatTheSourcesMake) {
    ScratchDir out;
    const auto run = Generate(kArt, out.Path());
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(FilesIn(out.Path()), ExpectedFiles());
    EXPECT_EQ(FilesIn(kImages), ExpectedFiles());
    for (const std::string& name : ExpectedFiles()) {
        const std::string made = ReadFile(out.Path() / name);
        EXPECT_FALSE(made.empty()) << name;
        EXPECT_TRUE(made == ReadFile(kImages / name))
            << name << " differs from its sources: regenerate with `ninja art`";
    }
}

TEST(ArtGenerator, TwoRunsGiveByteIdenticalFiles) {
    ScratchDir first, second;
    ASSERT_EQ(Generate(kArt, first.Path()).exitCode, 0);
    ASSERT_EQ(Generate(kArt, second.Path()).exitCode, 0);
    for (const std::string& name : ExpectedFiles()) {
        EXPECT_TRUE(ReadFile(first.Path() / name) == ReadFile(second.Path() / name)) << name;
    }
}

// A faulty source stops the generator with the file and line of the fault, before any
// picture is written.
TEST(ArtGenerator, FaultySourcesAreReportedWithFileAndLine) {
    struct Case {
        std::string script, grid, expected;
    };
    const std::string grid = "colour . clear\ncolour K #000000\ngrid\n.K.\n";
    const std::vector<Case> cases = {
        {"image a.bmp 4 4\nsparkle 1 2\n", "", "images.txt:2: unknown command: sparkle"},
        {"image a.bmp 4 4\nrect 0 0 x 2 #ffffff\n", "", "images.txt:2: not a number: x"},
        {"rect 0 0 2 2 #ffffff\n", "", "images.txt:1: no picture started"},
        {"image a.bmp 4 4\nfill #12345\n", "", "images.txt:2: not a colour: #12345"},
        {"image a.bmp 4 4\nimage a.bmp 4 4\n", "", "images.txt:2: picture made twice"},
        {"image a.bmp 0 4\n", "", "images.txt:1: picture size out of range"},
        {"image a.bmp 4 4\ntext 0 0 4 4 9 #ffffff \"A\n", "", "images.txt:2: unclosed quote"},
        {"image a.bmp 4 4\ncrop b.bmp 0 0\n", "", "images.txt:2: no finished picture named b.bmp"},
        {"image b.bmp 2 2\nimage a.bmp 4 4\ncrop b.bmp 0 0\n", "", "crop reaches outside"},
        {"include nothing.txt\n", "", "nothing.txt: cannot open the script"},
        {"image a.bmp 4 4\nart g.txt 0 0\n", grid + "KK\n", "g.txt:5: row has 2 cells"},
        {"image a.bmp 4 4\nart g.txt 0 0\n", grid + "..Z\n", "g.txt:5: no colour for 'Z'"},
        {"image a.bmp 4 4\nart g.txt 0 0 sideways\n", grid, "unknown art option: sideways"},
        {"image a.bmp 4 4\nart none.txt 0 0\n", "", "none.txt:0: cannot open the file"},
    };
    for (const Case& c : cases) {
        ScratchDir art, out;
        WriteFile(art.Path() / "images.txt", c.script);
        if (!c.grid.empty()) WriteFile(art.Path() / "g.txt", c.grid);
        const auto run = Generate(art.Path(), out.Path());
        EXPECT_EQ(run.exitCode, 1) << c.script;
        EXPECT_NE(run.output.find(c.expected), std::string::npos) << "script:\n"
                                                                  << c.script << "output:\n"
                                                                  << run.output;
        EXPECT_TRUE(fs::is_empty(out.Path())) << c.script;
    }
}

// --- The pictures as the game loads them ------------------------------------------------

// The pixels of a BMP file, decoded by SDL, as 0x00BBGGRR values row by row.
std::vector<uint32_t> DecodeFile(const fs::path& path, int& width, int& height) {
    SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
    if (loaded == nullptr) return {};
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_XBGR8888, 0);
    SDL_FreeSurface(loaded);
    if (rgb == nullptr) return {};
    width = rgb->w;
    height = rgb->h;
    std::vector<uint32_t> pixels;
    for (int y = 0; y < rgb->h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(rgb->pixels) + static_cast<size_t>(y) * rgb->pitch);
        for (int x = 0; x < rgb->w; ++x)
            pixels.push_back(row[x] & 0xFFFFFF);
    }
    SDL_FreeSurface(rgb);
    return pixels;
}

struct Rgb {
    int r, g, b;
};
Rgb Split(uint32_t c) {
    return {static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
            static_cast<int>((c >> 16) & 0xFF)};
}
// Light in the mask sense: the mean of red, green and blue is at least 128.
bool Light(uint32_t c) {
    const Rgb p = Split(c);
    return p.r + p.g + p.b >= 3 * 128;
}
// Two colours a viewer tells apart at a glance.
bool VisiblyDifferent(uint32_t a, uint32_t b) {
    const Rgb p = Split(a), q = Split(b);
    return std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) >= 96;
}

class GameImages : public TestSupport::WindowTest {
protected:
    static uint32_t Load(const char* file, uint32_t w, uint32_t h) {
        return Vuderiv::LoadBitmap((kImages / file).c_str(), w, h);
    }
    // The top-left w x h block of the buffer after drawing into a cleared buffer.
    template <typename DrawFn>
    static std::vector<uint32_t> Drawn(uint32_t w, uint32_t h, DrawFn draw) {
        Vuderiv::ClearScreen();
        draw();
        std::vector<uint32_t> pixels;
        for (uint32_t y = 0; y < h; ++y) {
            for (uint32_t x = 0; x < w; ++x) {
                pixels.push_back(
                    Vuderiv::BufferPixel(static_cast<int32_t>(x), static_cast<int32_t>(y)));
            }
        }
        return pixels;
    }
    void SetUp() override {
        TestSupport::WindowTest::SetUp();
        Vuderiv::SetBuffering(true);
    }
};

TEST_F(GameImages, EachLoadsAtTheSizeTheGameAsksAndShowsItsFile) {
    for (const Use& u : kUses) {
        SCOPED_TRACE(std::string(u.file) + " at " + std::to_string(u.width) + "x" +
                     std::to_string(u.height));
        int fileW = 0, fileH = 0;
        const std::vector<uint32_t> file = DecodeFile(kImages / u.file, fileW, fileH);
        ASSERT_FALSE(file.empty()) << SDL_GetError();
        const uint32_t handle = Load(u.file, u.width, u.height);
        ASSERT_NE(handle, 0u);
        if (std::string(u.file) == "full_mask.bmp") {
            // One picture serves three sizes; it is made at the widest.
            EXPECT_EQ(fileW, 200);
            EXPECT_EQ(fileH, 100);
            continue;
        }
        ASSERT_EQ(static_cast<uint32_t>(fileW), u.width);
        ASSERT_EQ(static_cast<uint32_t>(fileH), u.height);
        const auto drawn = Drawn(u.width, u.height, [&] { Vuderiv::DrawBitmap(handle, 0, 0); });
        EXPECT_TRUE(drawn == file) << "drawn pixels differ from the file";
    }
}

TEST_F(GameImages, EveryMaskCutsAShapeOfLightAndDarkPixels) {
    for (const Use& u : kUses) {
        if (std::string(u.file).find("_mask.bmp") == std::string::npos ||
            std::string(u.file) == "full_mask.bmp") {
            continue;
        }
        SCOPED_TRACE(u.file);
        const uint32_t mask = Load(u.file, u.width, u.height);
        ASSERT_NE(mask, 0u);
        const auto pixels = Drawn(u.width, u.height, [&] { Vuderiv::DrawBitmap(mask, 0, 0); });
        const auto light = std::count_if(pixels.begin(), pixels.end(), Light);
        // Neither a speck nor a block: a shape that shows.
        EXPECT_GT(light, static_cast<long>(pixels.size() / 20));
        EXPECT_LT(light, static_cast<long>(pixels.size() * 3 / 4));
        // Black and white only, so that no grey edge is left to chance.
        EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(),
                                [](uint32_t c) { return c == 0 || c == 0xFFFFFF; }));
    }
}

TEST_F(GameImages, MouseOverPicturesDifferVisiblyFromTheNormalOnes) {
    struct Pair {
        const char *normal, *over, *mask;  // mask: nullptr for a plain button
        uint32_t w, h;
    };
    const std::vector<Pair> pairs = {
        {"start0.bmp", "start1.bmp", nullptr, 225, 65},
        {"settings0.bmp", "settings1.bmp", nullptr, 225, 65},
        {"quit0.bmp", "quit1.bmp", nullptr, 225, 65},
        {"full_mask.bmp", "down1.bmp", "down_mask.bmp", 50, 100},
        {"full_mask.bmp", "up1.bmp", "up_mask.bmp", 50, 100},
        {"full_mask.bmp", "back1.bmp", "back_mask.bmp", 200, 100},
    };
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.over);
        const uint32_t normal = Load(p.normal, p.w, p.h);
        const uint32_t over = Load(p.over, p.w, p.h);
        const uint32_t mask = p.mask ? Load(p.mask, p.w, p.h) : 0;
        ASSERT_TRUE(normal != 0 && over != 0 && (p.mask == nullptr || mask != 0));
        auto draw = [&](uint32_t picture) {
            return Drawn(p.w, p.h, [&] {
                if (p.mask) {
                    Vuderiv::DrawMaskBitmap(picture, mask, 0, 0);
                } else {
                    Vuderiv::DrawBitmap(picture, 0, 0);
                }
            });
        };
        const auto a = draw(normal), b = draw(over);
        const auto shown = p.mask ? Drawn(p.w, p.h, [&] { Vuderiv::DrawBitmap(mask, 0, 0); })
                                  : std::vector<uint32_t>(a.size(), 0xFFFFFF);
        size_t considered = 0, different = 0;
        for (size_t i = 0; i < a.size(); ++i) {
            if (!Light(shown[i])) continue;
            ++considered;
            if (VisiblyDifferent(a[i], b[i])) ++different;
        }
        ASSERT_GT(considered, 0u);
        EXPECT_GE(different * 2, considered) << different << " of " << considered;
    }
}

// --- The texts over the levels ----------------------------------------------------------

// Relative luminance of the tile's mean colour, as contrast ratios define it.
double MeanLuminance(const std::vector<uint32_t>& pixels) {
    double sum[3] = {0, 0, 0};
    for (uint32_t c : pixels) {
        const Rgb p = Split(c);
        sum[0] += p.r;
        sum[1] += p.g;
        sum[2] += p.b;
    }
    auto linear = [](double v) {
        v /= 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const double n = static_cast<double>(pixels.size());
    return 0.2126 * linear(sum[0] / n) + 0.7152 * linear(sum[1] / n) + 0.0722 * linear(sum[2] / n);
}

double Contrast(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The 2000 codes of a level file, row by row.
std::vector<uint32_t> ReadCodes(const fs::path& path) {
    std::ifstream in(path);
    std::vector<uint32_t> codes;
    for (uint32_t code = 0; codes.size() < 2000 && in >> code;)
        codes.push_back(code);
    return codes;
}

// Black status text on the panel (x 400..940, y 34..52) and the white help lines (x 20..640,
// y 710..790) reach a contrast of at least 4.5 with every tile behind them, in both levels.
TEST(LevelArt, PanelAndHelpTextsStandOutFromTheTilesBehindThem) {
    const char* tiles[] = {"lucht.bmp", "baksteen.bmp", "grond.bmp"};
    double luminance[3];
    for (int code = 0; code < 3; ++code) {
        int w = 0, h = 0;
        const auto pixels = DecodeFile(kImages / tiles[code], w, h);
        ASSERT_FALSE(pixels.empty()) << tiles[code];
        luminance[code] = MeanLuminance(pixels);
    }
    struct Area {
        const char* what;
        int x0, y0, x1, y1;
        double textLuminance;
    };
    const Area areas[] = {{"status panel", 400, 34, 940, 52, 0.0},
                          {"help lines", 20, 710, 640, 790, 1.0}};
    for (const char* level : {"level1.txt", "level2.txt"}) {
        const auto codes = ReadCodes(kSourceDir / "data" / level);
        ASSERT_EQ(codes.size(), 2000u) << level;
        for (const Area& a : areas) {
            for (int row = a.y0 / 20; row <= a.y1 / 20; ++row) {
                for (int column = a.x0 / 20; column <= a.x1 / 20; ++column) {
                    const uint32_t code = codes[static_cast<size_t>(row) * 50 + column];
                    ASSERT_LT(code, 3u);
                    EXPECT_GE(Contrast(luminance[code], a.textLuminance), 4.5)
                        << level << ", " << a.what << " over " << tiles[code] << " at row "
                        << row + 1 << ", column " << column + 1;
                }
            }
        }
    }
}

}  // namespace
