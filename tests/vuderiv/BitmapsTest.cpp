// The bitmap table: handles, BMP files in their many layouts, broken files, scaling,
// plain, masked and clipped draws, copies between bitmaps, and the teardown.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#if VUDERIV_PNG
#include <SDL_image.h>
#endif

#include "BmpWriter.h"
#include "CanvasProbe.h"
#include "Harness.h"
#include "Shared.h"
#include "Vuderiv.h"

using namespace Vuderiv;
using BmpWriter::Layout;
using BmpWriter::Picture;
using CanvasProbe::Capture;
namespace fs = std::filesystem;

namespace {

constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

// A scratch directory of this process, removed again at the end of the test.
class TempDir {
public:
    TempDir() : path_(fs::temp_directory_path() / ("zarvok-bitmaps-" + std::to_string(getpid()))) {
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }

    // Writes the bytes to a file of that name; its full path.
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        BmpWriter::Save(path_ / name, bytes);
        return (path_ / name).string();
    }
    std::string Write(const std::string& name, const Picture& p, int bits = 24,
                      Layout layout = Layout::BottomUp) const {
        return Write(name, BmpWriter::Encode(p, bits, layout));
    }
    uint32_t Load(const std::string& name, const Picture& p, int bits = 24) const {
        return LoadBitmap(Write(name, p, bits).c_str(), p.width, p.height);
    }

private:
    fs::path path_;
};

// A picture whose every pixel differs from its neighbours, with colours whose red and
// blue differ (a swap shows), `colors` palette entries, and an odd width (rows padded).
Picture Pattern(size_t colors, int32_t width = 5, int32_t height = 3) {
    const std::vector<uint32_t> all{0x123456, 0xFEDCBA, kRed,     kGreen,
                                    kBlue,    0x80FF20, 0x654321, 0xFFFFFF};
    Picture p{width, height, {all.begin(), all.begin() + static_cast<long>(colors)}, {}};
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x)
            p.index.push_back(static_cast<uint8_t>((x + 3 * y) % colors));
    }
    return p;
}

// The pixels the picture should leave at (x, y), row by row.
std::vector<uint32_t> Expected(const Picture& p) {
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < p.height; ++y) {
        for (int32_t x = 0; x < p.width; ++x)
            pixels.push_back(p.At(x, y));
    }
    return pixels;
}

void DestroyAll() {
    for (uint32_t h = detail::BitmapTableLength(); h >= 1; --h)
        DestroyBitmap(h);
}

class BitmapTable : public ::testing::Test {
protected:
    void TearDown() override { DestroyAll(); }
};

class Bitmaps : public TestSupport::WindowTest {
protected:
    TempDir dir_;
};

}  // namespace

// --- The table, with no window -------------------------------------------------------

TEST_F(BitmapTable, HandlesTakeTheLowestFreeSlotAndTheTableShrinksAtItsEnd) {
    ASSERT_EQ(detail::BitmapTableLength(), 0u);
    EXPECT_EQ(CanvasProbe::TableCapacity(), 0u);
    EXPECT_EQ(CreateBitmap(4, 4), 1u);
    EXPECT_EQ(CreateBitmap(4, 4), 2u);
    EXPECT_EQ(CreateBitmap(4, 4), 3u);

    DestroyBitmap(2);  // a hole in the middle keeps the length
    EXPECT_EQ(detail::BitmapTableLength(), 3u);
    EXPECT_EQ(CreateBitmap(4, 4), 2u);  // and is filled first

    DestroyBitmap(2);
    DestroyBitmap(3);  // the last slot and the hole before it go
    EXPECT_EQ(detail::BitmapTableLength(), 1u);
    EXPECT_EQ(CanvasProbe::TableCapacity(), 1u);

    for (uint32_t invalid : {0u, 2u, 3u, 99u, 0xFFFFFFFFu})
        DestroyBitmap(invalid);
    EXPECT_EQ(detail::BitmapTableLength(), 1u);

    DestroyBitmap(1);
    EXPECT_EQ(detail::BitmapTableLength(), 0u);
    EXPECT_EQ(CanvasProbe::TableCapacity(), 0u);  // no storage when empty
    DestroyBitmap(1);                             // already destroyed
    EXPECT_EQ(CreateBitmap(4, 4), 1u);
}

TEST_F(BitmapTable, SizesThatCannotBeMadeReturnZeroAndLeaveTheTable) {
    const TempDir dir;
    const std::string file = dir.Write("p.bmp", Pattern(8));
    EXPECT_EQ(CreateBitmap(2, 2), 1u);
    EXPECT_EQ(CreateBitmap(0, 10), 0u);
    EXPECT_EQ(CreateBitmap(10, 0), 0u);
    EXPECT_EQ(CreateBitmap(0x80000000u, 1), 0u);
    EXPECT_EQ(CreateBitmap(1, 0x80000000u), 0u);
    EXPECT_EQ(CreateBitmap(0x7FFFFFFFu, 0x7FFFFFFFu), 0u);  // 2^62 pixels
    EXPECT_EQ(CreateBitmap(1u << 20, 1u << 20), 0u);        // 4 TiB
    EXPECT_EQ(LoadBitmap(file.c_str(), 0x80000000u, 3), 0u);
    EXPECT_EQ(LoadBitmap(file.c_str(), 1u << 20, 1u << 20), 0u);
    EXPECT_EQ(detail::BitmapTableLength(), 1u);
    EXPECT_EQ(LoadBitmap(file.c_str(), 5, 3), 2u);  // works without a window
}

TEST_F(BitmapTable, BrokenFilesReturnZeroAndLeaveTheTable) {
    const TempDir dir;
    const std::vector<uint8_t> good = BmpWriter::Encode(Pattern(8, 64, 64), 24, Layout::BottomUp);
    std::vector<uint8_t> hugeHeader = BmpWriter::Encode(Pattern(8), 24, Layout::BottomUp);
    hugeHeader[18] = 0xFF;  // width 0x00FF0005 on a file of a few bytes
    hugeHeader[20] = 0xFF;
    std::vector<uint8_t> zeroWidth = good;
    std::fill(zeroWidth.begin() + 18, zeroWidth.begin() + 22, 0);
    std::vector<uint8_t> wrongMagic = good;
    wrongMagic[0] = 'X';
    std::vector<uint8_t> hugeRle = BmpWriter::Encode(Pattern(8), 8, Layout::Rle8);
    hugeRle[19] = 0xEA;  // 59909 x 59907: a tiny file that would decode to 14 GiB
    hugeRle[23] = 0xEA;
    std::vector<uint8_t> garbage{'B', 'M'};
    for (int i = 0; i < 4096; ++i)
        garbage.push_back(static_cast<uint8_t>(i * 131 + 7));
    const std::vector<std::vector<uint8_t>> broken{
        {},                                 // empty
        {good.begin(), good.begin() + 20},  // header cut off
        {good.begin(), good.begin() + 54},  // header without rows
        {good.begin(), good.end() - 100},   // rows cut off
        hugeHeader,
        hugeRle,
        zeroWidth,
        wrongMagic,
        garbage,
    };
    EXPECT_EQ(CreateBitmap(2, 2), 1u);
    for (size_t i = 0; i < broken.size(); ++i) {
        SCOPED_TRACE("broken file " + std::to_string(i));
        const std::string file = dir.Write("broken.bmp", broken[i]);
        EXPECT_EQ(LoadBitmap(file.c_str(), 64, 64), 0u);
        EXPECT_EQ(LoadBitmap(file.c_str(), 0, 0), 0u);
        EXPECT_EQ(detail::BitmapTableLength(), 1u);
    }
    const std::string missing = dir.Write("x.bmp", good) + ".missing";
    EXPECT_EQ(LoadBitmap(missing.c_str(), 64, 64), 0u);
    EXPECT_EQ(LoadBitmap("/no/such/dir/x.bmp", 64, 64), 0u);
    EXPECT_EQ(LoadBitmap(fs::temp_directory_path().c_str(), 64, 64), 0u);  // a directory
    EXPECT_EQ(LoadBitmap(nullptr, 64, 64), 0u);
    EXPECT_EQ(detail::BitmapTableLength(), 1u);
    EXPECT_EQ(LoadBitmap(dir.Write("good.bmp", good).c_str(), 64, 64), 2u);
}

TEST_F(BitmapTable, EachFileThatCannotBeLoadedIsNamedOnceWithTheReason) {
    const TempDir dir;
    const std::vector<uint8_t> good = BmpWriter::Encode(Pattern(8, 64, 64), 24, Layout::BottomUp);
    std::vector<uint8_t> huge = good;  // 100000 x 100000 pixels claimed
    for (const size_t at : {18u, 22u}) {
        huge[at] = 0xA0;
        huge[at + 1] = 0x86;
        huge[at + 2] = 0x01;
    }
    const std::string folder =
        fs::path(dir.Write("why-plain", std::vector<uint8_t>{})).parent_path().string();
    fs::create_directory(folder + "/why-folder.bmp");
    const std::pair<std::string, std::string> cases[] = {
        {dir.Write("why-png.bmp", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13}),
         "not a BMP file"},
        {dir.Write("why-cut.bmp", {good.begin(), good.begin() + 54}), "cut off"},
        {dir.Write("why-huge.bmp", huge), "too large: 100000 x 100000"},
        {folder + "/why-missing.bmp", "missing"},
        {folder + "/why-folder.bmp", "it is a folder"},
        {folder + "/why-plain/x.bmp", "missing: a folder on its path is a plain file"},
    };
    testing::internal::CaptureStderr();
    std::string expected;
    for (const auto& [file, reason] : cases) {
        for (int time = 0; time < 3; ++time)
            EXPECT_EQ(LoadBitmap(file.c_str(), 64, 64), 0u) << file;
        expected += "Vuderiv: " + file + ": cannot be loaded: " + reason + "\n";
    }
    EXPECT_EQ(LoadBitmap(dir.Write("why-good.bmp", good).c_str(), 64, 64), 1u);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), expected);
}

TEST_F(BitmapTable, CopyWorksWithoutAWindowAndDrawsLaterOnce) {
    const TempDir dir;
    const Picture p = Pattern(8, 6, 4);
    const uint32_t source = dir.Load("p.bmp", p);
    const uint32_t piece = CreateBitmap(3, 2);
    ASSERT_NE(piece, 0u);
    CopyBitmap(source, piece, 2, 1, 0, 0, 3, 2);
    DrawBitmap(piece, 0, 0);  // no window: draws nothing and breaks nothing

    Window("Test", 100, 100);
    ASSERT_TRUE(WindowIsOpen());
    DrawBitmap(piece, 10, 20);
    EXPECT_EQ(BufferPixel(10, 20), p.At(2, 1));
    EXPECT_EQ(BufferPixel(12, 21), p.At(4, 2));
    EXPECT_EQ(BufferPixel(13, 21), 0u);
    KillWindow();
    // The teardown releases every bitmap.
    EXPECT_EQ(detail::BitmapTableLength(), 0u);
    EXPECT_EQ(CanvasProbe::TableCapacity(), 0u);
}

// --- Files, draws and copies in a window --------------------------------------------

TEST_F(Bitmaps, EveryFileLayoutLoadsItsPixels) {
    struct Case {
        int bits;
        size_t colors;
        Layout layout;
    };
    const std::vector<Case> cases{
        {1, 2, Layout::BottomUp},  {1, 2, Layout::TopDown},   {4, 8, Layout::BottomUp},
        {4, 8, Layout::TopDown},   {8, 8, Layout::BottomUp},  {8, 8, Layout::TopDown},
        {8, 8, Layout::Rle8},      {24, 8, Layout::BottomUp}, {24, 8, Layout::TopDown},
        {32, 8, Layout::BottomUp}, {32, 8, Layout::TopDown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, layout " +
                     std::to_string(static_cast<int>(c.layout)));
        const Picture p = Pattern(c.colors);
        const std::string file = dir_.Write("f.bmp", p, c.bits, c.layout);
        const uint32_t handle = LoadBitmap(file.c_str(), 5, 3);
        ASSERT_NE(handle, 0u);
        DrawBitmap(handle, 7, 9);
        EXPECT_EQ(Capture(7, 9, 5, 3), Expected(p));
        DestroyBitmap(handle);
    }
}

TEST_F(Bitmaps, AnImageIsBroughtToTheAskedSize) {
    const Picture p = Pattern(8, 2, 2);
    const std::string file = dir_.Write("small.bmp", p);
    CanvasProbe::FillBuffer(0, 0, 20, 20, kGreen);
    DrawBitmap(LoadBitmap(file.c_str(), 4, 6), 0, 0);  // each pixel 2 wide, 3 high
    for (int32_t y = 0; y < 6; ++y) {
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(BufferPixel(x, y), p.At(x / 2, y / 3));
    }
    EXPECT_EQ(BufferPixel(4, 0), kGreen);  // exactly the asked block
    EXPECT_EQ(BufferPixel(0, 6), kGreen);

    const Picture big = Pattern(8, 6, 6);
    DrawBitmap(LoadBitmap(dir_.Write("big.bmp", big).c_str(), 3, 2), 10, 10);
    EXPECT_EQ(Capture(10, 10, 3, 2),
              (std::vector<uint32_t>{big.At(1, 1), big.At(3, 1), big.At(5, 1), big.At(1, 4),
                                     big.At(3, 4), big.At(5, 4)}));

    // A side of 0 is kept as asked: the bitmap is made, but every draw copies an empty
    // block. Its picture is there at the file's own size, as a copy out of it shows.
    CanvasProbe::FillBuffer(30, 30, 2, 2, kGreen);
    for (const auto& [w, h] : {std::pair{0u, 0u}, {0u, 2u}, {2u, 0u}}) {
        const uint32_t handle = LoadBitmap(file.c_str(), w, h);
        ASSERT_NE(handle, 0u);
        DrawBitmap(handle, 30, 30);
        DrawMaskBitmap(handle, handle, 30, 30);
    }
    EXPECT_EQ(Capture(30, 30, 2, 2), std::vector<uint32_t>(4, kGreen));
    const uint32_t copy = CreateBitmap(2, 2);
    CopyBitmap(LoadBitmap(file.c_str(), 0, 0), copy, 0, 0, 0, 0, 2, 2);
    DrawBitmap(copy, 30, 30);
    EXPECT_EQ(Capture(30, 30, 2, 2), Expected(p));
}

TEST_F(Bitmaps, BackslashesSeparateDirectoriesToo) {
    const Picture p = Pattern(8);
    std::string file = dir_.Write("slash.bmp", p);
    std::replace(file.begin(), file.end(), '/', '\\');
    DrawBitmap(LoadBitmap(file.c_str(), 5, 3), 0, 0);
    EXPECT_EQ(Capture(0, 0, 5, 3), Expected(p));
}

TEST_F(Bitmaps, HandlesKeepTheirBitmapsAcrossHoles) {
    const uint32_t one = dir_.Load("r.bmp", BmpWriter::Solid(2, 2, kRed));
    const uint32_t two = dir_.Load("g.bmp", BmpWriter::Solid(2, 2, kGreen));
    const uint32_t three = dir_.Load("b.bmp", BmpWriter::Solid(2, 2, kBlue));
    ASSERT_EQ(three, 3u);
    DestroyBitmap(two);
    DrawBitmap(two, 0, 0);  // destroyed: nothing
    EXPECT_EQ(BufferPixel(0, 0), 0u);
    EXPECT_EQ(dir_.Load("w.bmp", BmpWriter::Solid(2, 2, 0xFFFFFF)), 2u);
    DrawBitmap(one, 0, 0);
    DrawBitmap(2, 2, 0);
    DrawBitmap(three, 4, 0);
    EXPECT_EQ(Capture(0, 0, 6, 1),
              (std::vector<uint32_t>{kRed, kRed, 0xFFFFFF, 0xFFFFFF, kBlue, kBlue}));
}

TEST_F(Bitmaps, BufferingDecidesWhenADrawReachesTheWindow) {
    const uint32_t red = dir_.Load("r.bmp", BmpWriter::Solid(3, 3, kRed));
    DrawBitmap(red, 10, 10);  // buffering off: both at once
    EXPECT_EQ(BufferPixel(11, 11), kRed);
    EXPECT_EQ(WindowPixel(11, 11), kRed);

    SetBuffering(true);
    DrawBitmap(red, 20, 20);
    EXPECT_EQ(BufferPixel(21, 21), kRed);
    EXPECT_EQ(WindowPixel(21, 21), 0u);
    UpdateWindow();
    EXPECT_EQ(WindowPixel(21, 21), kRed);
}

TEST_F(Bitmaps, DrawsAreClippedAtEveryEdge) {
    const Picture p = Pattern(8, 5, 3);
    const uint32_t h = dir_.Load("p.bmp", p);
    DrawBitmap(h, -3, -2);
    EXPECT_EQ(BufferPixel(0, 0), p.At(3, 2));
    EXPECT_EQ(BufferPixel(1, 0), p.At(4, 2));
    DrawBitmap(h, 998, 799);
    EXPECT_EQ(BufferPixel(999, 799), p.At(1, 0));
    for (int32_t far : {-2147483647 - 1, 2147483647}) {
        DrawBitmap(h, far, far);
        DrawMaskBitmap(h, h, far, 0);
    }
    EXPECT_EQ(WindowPixel(0, 0), p.At(3, 2));
}

TEST_F(Bitmaps, MaskCopiesWhereLightAndKeepsTheTargetWhereDark) {
    // Mask columns: white, black, grey just light (mean 128), grey just dark (mean 127.7).
    const Picture mask{4, 1, {0xFFFFFF, 0, 0x808080, 0x7F7F80}, {0, 1, 2, 3}};
    const uint32_t picture = dir_.Load("pic.bmp", BmpWriter::Solid(6, 2, kRed));
    const uint32_t maskHandle = dir_.Load("mask.bmp", mask);
    CanvasProbe::FillBuffer(0, 0, 10, 10, kGreen);
    DrawMaskBitmap(picture, maskHandle, 1, 1);
    // Row 1 follows the mask; the mask has no row 2 and no columns 4 and 5: kept.
    EXPECT_EQ(Capture(1, 1, 6, 1),
              (std::vector<uint32_t>{kRed, kGreen, kRed, kGreen, kGreen, kGreen}));
    EXPECT_EQ(Capture(1, 2, 6, 1), std::vector<uint32_t>(6, kGreen));

    // An invalid mask or picture draws nothing at all.
    DrawMaskBitmap(picture, 0, 1, 1);
    DrawMaskBitmap(picture, 99, 1, 2);
    DrawMaskBitmap(0, maskHandle, 1, 2);
    EXPECT_EQ(Capture(1, 2, 6, 1), std::vector<uint32_t>(6, kGreen));
}

// Light runs of every length up to nine, and one long one, each between dark pixels: each
// run is copied whole and not a pixel beyond it.
TEST_F(Bitmaps, MaskRunsOfEveryLengthCopyExactlyTheirPixels) {
    Picture mask{0, 1, {0xFFFFFF, 0}, {1}};
    for (const int32_t run : {1, 2, 3, 4, 5, 6, 7, 8, 9, 70}) {
        mask.index.insert(mask.index.end(), static_cast<size_t>(run), 0);
        mask.index.push_back(1);
    }
    mask.width = static_cast<int32_t>(mask.index.size());
    const Picture picture = Pattern(7, mask.width, 1);
    const uint32_t handle = dir_.Load("pic.bmp", picture);
    const uint32_t maskHandle = dir_.Load("mask.bmp", mask);
    constexpr uint32_t kUnder = 0x0A0B0C;
    CanvasProbe::FillBuffer(0, 0, mask.width, 1, kUnder);
    DrawMaskBitmap(handle, maskHandle, 0, 0);
    std::vector<uint32_t> expected;
    for (size_t x = 0; x < mask.index.size(); ++x)
        expected.push_back(mask.index[x] == 0 ? picture.At(static_cast<int32_t>(x), 0) : kUnder);
    EXPECT_EQ(Capture(0, 0, mask.width, 1), expected);
}

// A mask's runs are kept from its first use: a mask changed or replaced afterwards must
// draw as it is now, never as it was.
TEST_F(Bitmaps, MaskChangedAfterItsFirstUseDrawsAsItIsNow) {
    const uint32_t picture = dir_.Load("pic.bmp", BmpWriter::Solid(4, 1, kRed));
    const uint32_t light = dir_.Load("light.bmp", BmpWriter::Solid(2, 1, 0xFFFFFF));
    const uint32_t mask = dir_.Load("mask.bmp", Picture{4, 1, {0xFFFFFF, 0}, {0, 1, 1, 0}});
    const auto drawn = [&](uint32_t with) {
        CanvasProbe::FillBuffer(0, 0, 4, 1, kGreen);
        DrawMaskBitmap(picture, with, 0, 0);
        return Capture(0, 0, 4, 1);
    };
    EXPECT_EQ(drawn(mask), (std::vector<uint32_t>{kRed, kGreen, kGreen, kRed}));
    CopyBitmap(light, mask, 0, 0, 1, 0, 2, 1);  // its dark middle made light
    EXPECT_EQ(drawn(mask), std::vector<uint32_t>(4, kRed));

    // A new mask in the slot of a destroyed one.
    DestroyBitmap(mask);
    const uint32_t next = dir_.Load("next.bmp", Picture{4, 1, {0xFFFFFF, 0}, {1, 0, 1, 1}});
    ASSERT_EQ(next, mask);
    EXPECT_EQ(drawn(next), (std::vector<uint32_t>{kGreen, kRed, kGreen, kGreen}));
}

TEST_F(Bitmaps, UnbufferedMaskKeepsTheWindowsOwnPixelsWhereDark) {
    const uint32_t picture = dir_.Load("pic.bmp", BmpWriter::Solid(2, 1, kRed));
    const uint32_t mask = dir_.Load("mask.bmp", Picture{2, 1, {0xFFFFFF, 0}, {0, 1}});
    CanvasProbe::FillBuffer(0, 0, 2, 1, kGreen);  // the window still shows black there
    DrawMaskBitmap(picture, mask, 0, 0);
    EXPECT_EQ(Capture(0, 0, 2, 1), (std::vector<uint32_t>{kRed, kGreen}));
    EXPECT_EQ(Capture(0, 0, 2, 1, true), (std::vector<uint32_t>{kRed, 0u}));
}

TEST_F(Bitmaps, CopiedPieceDrawsBackExactly) {
    const Picture p = Pattern(8, 6, 4);
    const uint32_t background = dir_.Load("bg.bmp", p);
    const uint32_t saved = CreateBitmap(4, 3);
    CopyBitmap(background, saved, 1, 1, 0, 0, 4, 3);
    DrawBitmap(background, 0, 0);
    CanvasProbe::FillBuffer(1, 1, 4, 3, kGreen);  // something drawn over the piece
    DrawBitmap(saved, 1, 1);
    EXPECT_EQ(Capture(0, 0, 6, 4), Expected(p));

    // Invalid handles copy nothing; a block reaching outside is clipped.
    CopyBitmap(0, saved, 0, 0, 0, 0, 4, 3);
    CopyBitmap(background, 99, 0, 0, 0, 0, 4, 3);
    CopyBitmap(background, saved, -5, -5, 2, 2, 0xFFFFFFFFu, 0xFFFFFFFFu);
    DrawBitmap(saved, 1, 1);
    EXPECT_EQ(Capture(0, 0, 6, 4), Expected(p));
}

TEST_F(Bitmaps, CopyWithinOneBitmapMayOverlap) {
    const Picture p = Pattern(8, 6, 4);
    const uint32_t h = dir_.Load("p.bmp", p);
    CopyBitmap(h, h, 0, 0, 1, 1, 6, 4);  // one down and to the right
    DrawBitmap(h, 0, 0);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            const uint32_t want = x >= 1 && y >= 1 ? p.At(x - 1, y - 1) : p.At(x, y);
            EXPECT_EQ(BufferPixel(x, y), want) << x << ", " << y;
        }
    }
}

TEST_F(Bitmaps, DrawsRacingTheUsersCloseAreSafe) {
    const uint32_t picture = dir_.Load("p.bmp", Pattern(8, 40, 40));
    const uint32_t copy = CreateBitmap(40, 40);
    TestSupport::PushUserClose();
    int rounds = 0;
    for (; WindowIsOpen() || rounds == 0; ++rounds) {
        DrawBitmap(picture, rounds % 900, 100);
        DrawMaskBitmap(picture, picture, 100, rounds % 700);
        CopyBitmap(picture, copy, rounds % 7, 0, 0, 0, 20, 20);
        Text("closing", 10, 10);
    }
    EXPECT_GT(rounds, 0);
    // The teardown released every bitmap; the old handles draw nothing now.
    EXPECT_EQ(detail::BitmapTableLength(), 0u);
    DrawBitmap(picture, 0, 0);
    CopyBitmap(picture, copy, 0, 0, 0, 0, 20, 20);
}

// --- PNG files, colour keys, parts of bitmaps, handles not reused ----------------------

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

#if VUDERIV_PNG
// Writes a PNG of RGBA pixels (0xAABBGGRR) through SDL_image.
std::string WritePng(const TempDir& dir, const std::string& name, int width,
                     std::vector<uint32_t> pixels) {
    const std::string file = dir.Write(name, std::vector<uint8_t>{});
    const int height = static_cast<int>(pixels.size()) / width;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), width, height, 32,
                                                              width * 4, SDL_PIXELFORMAT_ABGR8888);
    EXPECT_EQ(IMG_SavePNG(surface, file.c_str()), 0) << IMG_GetError();
    SDL_FreeSurface(surface);
    return file;
}
#endif

}  // namespace

#if VUDERIV_PNG
TEST_F(Bitmaps, APngKeepsItsOpacityAndEveryDrawBlendsIt) {
    // Opaque red, half-transparent blue, fully transparent green.
    const std::string file =
        WritePng(dir_, "see-through.png", 3, {0xFF0000FF, 0x80FF0000, 0x0000FF00});
    const uint32_t png = LoadImage(file.c_str());
    uint32_t width = 0, height = 0;
    ASSERT_TRUE(BitmapSize(png, width, height));
    EXPECT_EQ(width * 10 + height, 31u);
    CanvasProbe::FillBuffer(0, 0, 10, 10, kWhite);
    DrawBitmap(png, 0, 0);
    EXPECT_EQ(Capture(0, 0, 4, 1), (std::vector<uint32_t>{kRed, 0xFF7F7F, kWhite, kWhite}));
    // LoadBitmap takes it too, at the asked size; parts and mirrors blend the same way.
    const uint32_t wide = LoadBitmap(file.c_str(), 6, 1);
    DrawBitmapPart(wide, 0, 0, 6, 1, 0, 1, FlipHorizontal);
    EXPECT_EQ(Capture(0, 1, 6, 1),
              (std::vector<uint32_t>{kWhite, kWhite, 0xFF7F7F, 0xFF7F7F, kRed, kRed}));
}
#else
TEST_F(Bitmaps, APngSaysThatPngSupportIsNotBuiltIn) {
    std::vector<uint8_t> head{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};
    head.resize(40, 1);
    const std::string file = dir_.Write("no-png.png", head);
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadImage(file.c_str()), 0u);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("PNG support not built in"),
              std::string::npos);
}
#endif

TEST_F(Bitmaps, AColourKeyAndMirroredPartsOfASpriteSheet) {
    const Picture p = Pattern(8, 5, 3);  // no two neighbours alike
    const uint32_t sheet = LoadImage(dir_.Write("sheet.bmp", p).c_str());
    uint32_t width = 0, height = 0;
    EXPECT_TRUE(BitmapSize(sheet, width, height));
    EXPECT_EQ(width * 10 + height, 53u);
    EXPECT_FALSE(BitmapSize(99, width, height));
    EXPECT_EQ(width + height, 0u);
    // The 3 x 2 part at (1, 1): as it is, mirrored left to right, then upside down.
    const auto part = [&](bool acrossMirrored, bool downMirrored) {
        std::vector<uint32_t> want;
        for (int32_t y = 0; y < 2; ++y) {
            for (int32_t x = 0; x < 3; ++x)
                want.push_back(
                    p.At(1 + (acrossMirrored ? 2 - x : x), 1 + (downMirrored ? 1 - y : y)));
        }
        return want;
    };
    DrawBitmapPart(sheet, 1, 1, 3, 2, 10, 10, FlipNone);
    DrawBitmapPart(sheet, 1, 1, 3, 2, 20, 10, FlipHorizontal);
    DrawBitmapPart(sheet, 1, 1, 3, 2, 30, 10, FlipVertical | FlipHorizontal);
    EXPECT_EQ(Capture(10, 10, 3, 2, true), part(false, false));  // unbuffered: shown at once
    EXPECT_EQ(Capture(20, 10, 3, 2), part(true, false));
    EXPECT_EQ(Capture(30, 10, 3, 2), part(true, true));
    // A part reaching past the sheet and past the window's left edge draws what is in both.
    DrawBitmapPart(sheet, 3, 0, 4, 1, -1, 20, FlipNone);
    EXPECT_EQ(Capture(0, 20, 3, 1), (std::vector<uint32_t>{p.At(4, 0), 0u, 0u}));
    // The key colour is left out: the target shows through; without the key it is drawn.
    CanvasProbe::FillBuffer(40, 0, 10, 10, kWhite);
    SetColorKey(sheet, p.At(0, 0));
    DrawBitmap(sheet, 40, 0);
    EXPECT_EQ(Capture(40, 0, 2, 1), (std::vector<uint32_t>{kWhite, p.At(1, 0)}));
    ClearColorKey(sheet);
    DrawBitmap(sheet, 40, 0);
    EXPECT_EQ(BufferPixel(40, 0), p.At(0, 0));
}

TEST_F(BitmapTable, WithoutReuseADestroyedHandleIsNotGivenAgainAndItsUseIsSaidOnce) {
    SetHandleReuse(false);
    const uint32_t one = CreateBitmap(2, 2);
    const uint32_t two = CreateBitmap(2, 2);
    ASSERT_EQ(two, 2u);  // the numbering of a program that destroys nothing
    DestroyBitmap(two);
    const uint32_t again = CreateBitmap(2, 2);
    EXPECT_NE(again, two);
    EXPECT_EQ(detail::BitmapTableLength(), 2u);  // in the same slot
    testing::internal::CaptureStderr();
    DestroyBitmap(two);  // stale: the new bitmap in its slot stays
    uint32_t width = 0, height = 0;
    EXPECT_FALSE(BitmapSize(two, width, height));
    EXPECT_TRUE(BitmapSize(again, width, height));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Vuderiv: bitmap 2 was destroyed; nothing is done with it\n");
    // The last slot's table end goes, and still its next bitmap gets a handle of its own.
    DestroyBitmap(again);
    EXPECT_EQ(detail::BitmapTableLength(), 1u);
    const uint32_t third = CreateBitmap(2, 2);
    EXPECT_NE(third, again);
    EXPECT_NE(third, two);
    EXPECT_TRUE(BitmapSize(one, width, height));
    SetHandleReuse(true);
}
