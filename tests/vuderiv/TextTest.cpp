// Text: sizes per style, antialiased letters over what lies beneath, what reaches the
// window, and the decimal forms of numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "Blend.h"
#include "CanvasProbe.h"
#include "Fonts.h"
#include "Harness.h"
#include "Vuderiv.h"

using namespace Vuderiv;
using CanvasProbe::Capture;
using CanvasProbe::FillBuffer;

namespace {

constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBackground = 0x604020;

struct Size {
    uint32_t w = 0, h = 0;
};

Size Measure(const char* text, uint32_t style) {
    Size size{12345, 12345};
    GetTextSize(text, style, size.w, size.h);
    return size;
}

// Draws the text in a cleared black area and returns the area.
std::vector<uint32_t> Drawn(void (*draw)(), int32_t w = 160, int32_t h = 40) {
    FillBuffer(0, 0, w, h, 0);
    draw();
    return Capture(0, 0, w, h);
}

bool AnyLit(const std::vector<uint32_t>& pixels) {
    return std::any_of(pixels.begin(), pixels.end(), [](uint32_t p) { return p != 0; });
}

uint32_t Channel(uint32_t color, int shift) {
    return (color >> shift) & 0xFF;
}

// Each channel of p lies between those of a and b.
bool Between(uint32_t p, uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16}) {
        const uint32_t lo = std::min(Channel(a, shift), Channel(b, shift));
        const uint32_t hi = std::max(Channel(a, shift), Channel(b, shift));
        if (Channel(p, shift) < lo || Channel(p, shift) > hi) return false;
    }
    return true;
}

using TextInWindow = TestSupport::WindowTest;

}  // namespace

// A face holds several families at times ("DejaVu Sans" and "DejaVu Sans Condensed"): one
// that holds the family asked for is no substitute; a family no face holds gets another.
TEST(TextFaces, AFaceHoldingTheFamilyIsNoSubstituteAndAnotherFaceIs) {
    const auto condensed = Vuderiv::detail::MatchFont("DejaVu Sans Condensed", false);
    EXPECT_FALSE(condensed.substituted) << condensed.face;
    EXPECT_EQ(condensed.face, "DejaVu Sans Condensed");
    const auto other = Vuderiv::detail::MatchFont("No Such Family Zq", false);
    EXPECT_FALSE(other.file.empty());
    EXPECT_TRUE(other.substituted) << other.face;
}

// Every coverage lays the colour channel by channel, rounded alike, at every place in a
// row: four pixels at a time and one at a time give the same pixels.
TEST(TextBlend, EachCoverageMixesEveryChannelExactly) {
    const uint32_t color = 0x3A7FC4;
    for (uint32_t a = 0; a < 256; ++a) {
        std::vector<uint8_t> coverage(11);
        std::vector<uint32_t> row(coverage.size()), expected(coverage.size());
        for (size_t i = 0; i < row.size(); ++i) {
            coverage[i] = static_cast<uint8_t>(a + 97 * i);
            row[i] = (0x0100FF * static_cast<uint32_t>(i) ^ a * 0x010301) & 0xFFFFFF;
            for (int shift = 0; shift < 24; shift += 8) {
                const uint32_t over = color >> shift & 0xFF, under = row[i] >> shift & 0xFF;
                const uint32_t c = coverage[i];
                expected[i] |= (over * c + under * (255 - c) + 127) / 255 << shift;
            }
        }
        detail::BlendRow(row.data(), coverage.data(), static_cast<int32_t>(row.size()), color);
        ASSERT_EQ(row, expected) << "coverage " << a;
    }
}

TEST(TextWithoutWindow, MeasuresNothingDrawsNothingButKeepsTheFont) {
    const Size size = Measure("Hello", 1);
    EXPECT_EQ(size.w, 0u);
    EXPECT_EQ(size.h, 0u);
    Text("Hello", 0, 0);
    TextInt(-5, 0, 0);

    SetFont(1, kRed);  // recorded for the window that opens later
    Window("Test", 200, 100);
    ASSERT_TRUE(WindowIsOpen());
    const auto early = Drawn([] { Text("Il", 2, 2); });
    SetFont(1, kRed);
    const auto again = Drawn([] { Text("Il", 2, 2); });
    SetFont(0, kRed);
    const auto otherStyle = Drawn([] { Text("Il", 2, 2); });
    KillWindow();
    EXPECT_TRUE(AnyLit(early));
    EXPECT_EQ(early, again);
    EXPECT_NE(early, otherStyle);
}

TEST_F(TextInWindow, SizesArePlausibleAndFollowTheStyle) {
    for (uint32_t style : {0u, 1u, 2u, 3u, 4u, 5u, 7u}) {
        SCOPED_TRACE("style " + std::to_string(style));
        const Size size = Measure("Hello", style);
        EXPECT_GT(size.w, 15u);
        EXPECT_LT(size.w, 100u);
        EXPECT_GT(size.h, 8u);
        EXPECT_LT(size.h, 30u);
    }
    EXPECT_GT(Measure("Hello", 1).h, Measure("Hello", 0).h);  // 16 against 11 pixels
    EXPECT_EQ(Measure("Hello", 7).w, Measure("Hello", 0).w);
    EXPECT_EQ(Measure("Hello", 7).h, Measure("Hello", 0).h);
    // Styles 2, 4 and 5 are fixed pitch (up to the last glyph's overhang), the others
    // proportional.
    const auto narrowerBy = [](uint32_t style) {
        return static_cast<int64_t>(Measure("WWWWWWWW", style).w) - Measure("iiiiiiii", style).w;
    };
    for (uint32_t style : {2u, 4u, 5u})
        EXPECT_LE(std::abs(narrowerBy(style)), 2) << style;
    for (uint32_t style : {0u, 1u, 3u})
        EXPECT_GT(narrowerBy(style), 20) << style;
    EXPECT_EQ(Measure("", 0).w, 0u);
}

TEST_F(TextInWindow, LettersAreAntialiasedOverWhatLiesBeneath) {
    SetBuffering(true);
    FillBuffer(0, 0, 300, 60, kBackground);
    SetFont(1, kRed);
    Text("Hello World", 10, 10);
    const Size size = Measure("Hello World", 1);
    const auto inside = Capture(10, 10, static_cast<int32_t>(size.w), static_cast<int32_t>(size.h));
    const auto count = [&](auto predicate) {
        return std::count_if(inside.begin(), inside.end(), predicate);
    };
    EXPECT_GT(count([](uint32_t p) { return p == kBackground; }), 0);  // no box: gaps keep it
    EXPECT_GT(count([](uint32_t p) { return p == kRed; }), 0);         // full cover, R and B right
    EXPECT_GT(count([](uint32_t p) { return p != kRed && p != kBackground; }), 0);
    EXPECT_EQ(count([](uint32_t p) { return !Between(p, kRed, kBackground); }), 0);
    // Nothing outside the text's rectangle changed.
    const auto all = Capture(0, 0, 300, 60);
    for (int32_t y = 0; y < 60; ++y) {
        for (int32_t x = 0; x < 300; ++x) {
            const bool inRect = x >= 10 && y >= 10 && x < 10 + static_cast<int32_t>(size.w) &&
                                y < 10 + static_cast<int32_t>(size.h);
            if (inRect) continue;
            ASSERT_EQ(all[static_cast<size_t>(y) * 300 + x], kBackground) << x << ", " << y;
        }
    }
    // Buffered: the window saw none of it.
    EXPECT_FALSE(AnyLit(Capture(0, 0, 300, 60, true)));
}

TEST_F(TextInWindow, UnbufferedShowsExactlyTheTextsRectangle) {
    FillBuffer(0, 0, 300, 100, kGreen);  // in the buffer only
    SetFont(0, 0xFFFFFF);
    Text("Hello", 20, 30);
    const Size size = Measure("Hello", 0);
    const auto w = static_cast<int32_t>(size.w), h = static_cast<int32_t>(size.h);
    EXPECT_EQ(Capture(20, 30, w, h, true), Capture(20, 30, w, h));
    EXPECT_EQ(WindowPixel(20, 30), kGreen);
    for (const auto& [x, y] : std::vector<std::pair<int32_t, int32_t>>{
             {19, 30}, {20, 29}, {20 + w, 30}, {20, 30 + h}, {20 + w - 1, 30 + h}}) {
        EXPECT_EQ(WindowPixel(x, y), 0u) << x << ", " << y;
        EXPECT_EQ(BufferPixel(x, y), kGreen) << x << ", " << y;
    }
}

TEST_F(TextInWindow, NumbersDrawAsTheirDecimalForms) {
    SetFont(0, 0xFFFFFF);
    struct Case {
        void (*number)();
        void (*text)();
    };
    const std::vector<Case> cases{
        {[] { TextInt(0, 2, 2); }, [] { Text("0", 2, 2); }},
        {[] { TextInt(-5, 2, 2); }, [] { Text("-5", 2, 2); }},
        {[] { TextInt(2147483647, 2, 2); }, [] { Text("2147483647", 2, 2); }},
        {[] { TextInt(-2147483647, 2, 2); }, [] { Text("-2147483647", 2, 2); }},
        {[] { TextInt(-2147483647 - 1, 2, 2); }, [] { Text("-2147483648", 2, 2); }},
        {[] { TextCard(2147483647u, 2, 2); }, [] { Text("2147483647", 2, 2); }},
        {[] { TextCard(4000000000u, 2, 2); }, [] { Text("4000000000", 2, 2); }},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        const auto expected = Drawn(cases[i].text);
        EXPECT_TRUE(AnyLit(expected));
        EXPECT_EQ(Drawn(cases[i].number), expected);
    }
    EXPECT_NE(Drawn(cases[0].text), Drawn(cases[1].text));
}

TEST_F(TextInWindow, StyleSevenDrawsLikeStyleZero) {
    SetFont(7, kGreen);
    const auto seven = Drawn([] { Text("Score 120", 2, 2); });
    SetFont(0, kGreen);
    const auto zero = Drawn([] { Text("Score 120", 2, 2); });
    SetFont(1, kGreen);
    const auto one = Drawn([] { Text("Score 120", 2, 2); });
    EXPECT_TRUE(AnyLit(seven));
    EXPECT_EQ(seven, zero);
    EXPECT_NE(seven, one);
}

TEST_F(TextInWindow, BytesAreLatin1AndAnEmptyTextDrawsNothing) {
    SetFont(0, 0xFFFFFF);
    const auto accented = Drawn([] { Text("\xE9t\xE9", 2, 2); });
    const auto plain = Drawn([] { Text("ete", 2, 2); });
    EXPECT_TRUE(AnyLit(accented));
    EXPECT_NE(accented, plain);
    EXPECT_FALSE(AnyLit(Drawn([] { Text("", 2, 2); })));
    Text(nullptr, 2, 2);
    EXPECT_EQ(Measure(nullptr, 0).w, 0u);
}

TEST_F(TextInWindow, ATextDrawnAgainTakesTheNewColourAndSurvivesManyOthers) {
    SetFont(1, kGreen);
    const auto green = Drawn([] { Text("Score 120", 2, 2); });
    SetFont(1, kRed);
    const auto red = Drawn([] { Text("Score 120", 2, 2); });
    EXPECT_NE(std::count(red.begin(), red.end(), kRed), 0);
    EXPECT_EQ(std::count(red.begin(), red.end(), kGreen), 0);
    EXPECT_EQ(std::count(green.begin(), green.end(), kGreen),
              std::count(red.begin(), red.end(), kRed));
    for (int32_t n = 0; n < 1500; ++n)  // more different texts than are ever kept
        TextInt(n, 2, 2);
    EXPECT_EQ(Drawn([] { Text("Score 120", 2, 2); }), red);
}

// UTF-8 draws one character per code point; a text that is not UTF-8 reads as Latin-1.
TEST_F(TextInWindow, Utf8TextAndLatin1Otherwise) {
    SetFont(0, 0xFFFFFF);
    const auto utf8 = Drawn([] { Text("\xC3\xA9t\xC3\xA9", 2, 2); });  // été
    EXPECT_EQ(utf8, Drawn([] { Text("\xE9t\xE9", 2, 2); }));
    EXPECT_EQ(Measure("\xC3\xBC", 1).w, Measure("u", 1).w);                    // ü: one letter
    const auto sign = Drawn([] { Text("\xE2\x82\xAC \xE2\x9C\x93", 2, 2); });  // € ✓
    EXPECT_TRUE(AnyLit(sign));
    EXPECT_NE(sign, Drawn([] { Text("\xE2\x82\xAC \xE2\x82\xAC", 2, 2); }));
}
