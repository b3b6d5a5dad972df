#include "Script.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <memory>
#include <optional>

#include "Colours.h"
#include "Errors.h"
#include "PixelArt.h"
#include "Shapes.h"
#include "Text.h"

namespace Artgen {

namespace {

constexpr int kMaxSide = 4096;       // no picture of ours is larger
constexpr int kMaxIncludeDepth = 8;  // guards against a script that includes itself

// One command: its words, and where it was written for messages.
struct Line {
    std::string where;
    std::vector<std::string> words;

    [[noreturn]] void Fail(const std::string& what) const { throw SourceError(where, what); }
    size_t Count() const { return words.size(); }
    const std::string& Word(size_t i) const {
        if (i >= words.size()) Fail("'" + words[0] + "' needs more values");
        return words[i];
    }
    int Int(size_t i) const {
        const std::string& w = Word(i);
        int value = 0;
        const auto [end, error] = std::from_chars(w.data(), w.data() + w.size(), value);
        if (error != std::errc() || end != w.data() + w.size()) Fail("not a number: " + w);
        return value;
    }
    Colour Paint(size_t i) const {
        const std::optional<Colour> c = ParseColour(Word(i));
        if (!c) Fail("not a colour: " + Word(i));
        return *c;
    }
    void ExpectCount(size_t least, size_t most) const {
        if (Count() < least || Count() > most) Fail("wrong number of values for " + words[0]);
    }
};

// Splits a line into words; a word in double quotes may hold spaces.
std::vector<std::string> SplitWords(const std::string& text, const std::string& where) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t' || text[i] == '\r') {
            ++i;
        } else if (text[i] == '"') {
            const size_t close = text.find('"', i + 1);
            if (close == std::string::npos) throw SourceError(where, "unclosed quote");
            words.push_back(text.substr(i + 1, close - i - 1));
            i = close + 1;
        } else {
            const size_t end = text.find_first_of(" \t\r", i);
            words.push_back(text.substr(i, end - i));
            i = end == std::string::npos ? text.size() : end;
        }
    }
    return words;
}

struct Span {
    int x0 = 0, y0 = 0, x1 = -1, y1 = -1;  // inclusive; empty when x1 < x0
};

Span InkBounds(const CoverageMap& map) {
    Span s{map.w, map.h, -1, -1};
    for (int y = 0; y < map.h; ++y) {
        for (int x = 0; x < map.w; ++x) {
            if (map.At(x, y) == 0) continue;
            s = {std::min(s.x0, x), std::min(s.y0, y), std::max(s.x1, x), std::max(s.y1, y)};
        }
    }
    return s;
}

void LayCoverage(Image& image, const CoverageMap& map, int left, int top, const Paint& paint) {
    for (int y = 0; y < map.h; ++y) {
        for (int x = 0; x < map.w; ++x) {
            const uint8_t a = map.At(x, y);
            if (a > 0) image.Blend(left + x, top + y, paint(left + x, top + y), a / 255.0);
        }
    }
}

int Modulo(int value, int divisor) {
    return ((value % divisor) + divisor) % divisor;
}

class Studio {
public:
    explicit Studio(std::string artDir) : artDir_(std::move(artDir)) {}

    void Run(const std::string& file, int depth);
    std::vector<NamedImage> Finish() {
        Close();
        return std::move(done_);
    }

private:
    using Command = void (Studio::*)(const Line&);
    void Execute(const Line& line);
    void Close();
    Image& Current(const Line& line);
    const Image& Finished(const Line& line, const std::string& name) const;
    const PixelArt& Grid(const std::string& file);
    const TextRenderer& Texts();

    void Include(const Line& line) { Run(line.Word(1), depth_ + 1); }
    void Begin(const Line& line);
    void Fill(const Line& line);
    void FillRect(const Line& line);
    void Gradient(const Line& line);
    void Round(const Line& line);
    void Ellipse(const Line& line);
    void Polygon(const Line& line);
    void Band(const Line& line);
    void Words(const Line& line);
    void Art(const Line& line);
    void Tile(const Line& line);
    void Crop(const Line& line);
    void Mirror(const Line& line) { Current(line).Mirror(); }
    void Threshold(const Line& line);

    std::string artDir_;
    int depth_ = 0;
    std::vector<NamedImage> done_;
    std::optional<NamedImage> current_;
    std::map<std::string, PixelArt> grids_;
    std::unique_ptr<TextRenderer> text_;
};

void Studio::Run(const std::string& file, int depth) {
    if (depth > kMaxIncludeDepth) throw SourceError(file, "scripts include each other too deeply");
    const int outer = depth_;
    depth_ = depth;
    std::ifstream in(artDir_ + "/" + file);
    if (!in) throw SourceError(file, "cannot open the script");
    int number = 0;
    for (std::string text; std::getline(in, text);) {
        ++number;
        const std::string where = file + ":" + std::to_string(number);
        Line line{where, SplitWords(text, where)};
        if (line.words.empty() || line.words[0][0] == '#') continue;
        Execute(line);
    }
    depth_ = outer;
}

void Studio::Execute(const Line& line) {
    static const std::map<std::string, Command> commands = {
        {"include", &Studio::Include},
        {"image", &Studio::Begin},
        {"fill", &Studio::Fill},
        {"rect", &Studio::FillRect},
        {"gradient", &Studio::Gradient},
        {"round", &Studio::Round},
        {"ellipse", &Studio::Ellipse},
        {"polygon", &Studio::Polygon},
        {"line", &Studio::Band},
        {"text", &Studio::Words},
        {"art", &Studio::Art},
        {"tile", &Studio::Tile},
        {"crop", &Studio::Crop},
        {"mirror", &Studio::Mirror},
        {"threshold", &Studio::Threshold},
    };
    const auto found = commands.find(line.words[0]);
    if (found == commands.end()) line.Fail("unknown command: " + line.words[0]);
    (this->*found->second)(line);
}

void Studio::Close() {
    if (current_) done_.push_back(std::move(*current_));
    current_.reset();
}

Image& Studio::Current(const Line& line) {
    if (!current_) line.Fail("no picture started: begin with 'image NAME W H'");
    return current_->image;
}

const Image& Studio::Finished(const Line& line, const std::string& name) const {
    for (const NamedImage& n : done_) {
        if (n.name == name) return n.image;
    }
    line.Fail("no finished picture named " + name);
}

const PixelArt& Studio::Grid(const std::string& file) {
    auto found = grids_.find(file);
    if (found == grids_.end())
        found = grids_.emplace(file, ReadPixelArt(artDir_ + "/" + file)).first;
    return found->second;
}

const TextRenderer& Studio::Texts() {
    if (!text_) text_ = std::make_unique<TextRenderer>();
    return *text_;
}

void Studio::Begin(const Line& line) {
    line.ExpectCount(4, 4);
    const std::string& name = line.Word(1);
    const int w = line.Int(2), h = line.Int(3);
    if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) line.Fail("picture size out of range");
    if (name.find('/') != std::string::npos) line.Fail("a picture name is a plain file name");
    Close();
    for (const NamedImage& n : done_) {
        if (n.name == name) line.Fail("picture made twice: " + name);
    }
    current_ = NamedImage{name, Image(w, h)};
}

void Studio::Fill(const Line& line) {
    line.ExpectCount(2, 2);
    Image& image = Current(line);
    FillRegion(image, {0, 0, image.Width(), image.Height()},
               RectRegion({0, 0, image.Width(), image.Height()}), Solid(line.Paint(1)));
}

void Studio::FillRect(const Line& line) {
    line.ExpectCount(6, 6);
    const Rect r{line.Int(1), line.Int(2), line.Int(3), line.Int(4)};
    FillRegion(Current(line), r, RectRegion(r), Solid(line.Paint(5)));
}

void Studio::Gradient(const Line& line) {
    line.ExpectCount(7, 7);
    const Rect r{line.Int(1), line.Int(2), line.Int(3), line.Int(4)};
    FillRegion(Current(line), r, RectRegion(r),
               VerticalGradient(line.Paint(5), line.Paint(6), r.y, r.h));
}

void Studio::Round(const Line& line) {
    line.ExpectCount(7, 8);
    const Rect r{line.Int(1), line.Int(2), line.Int(3), line.Int(4)};
    const Colour top = line.Paint(6);
    const Colour bottom = line.Count() == 8 ? line.Paint(7) : top;
    FillRegion(Current(line), r, RoundedRectRegion(r, line.Int(5)),
               VerticalGradient(top, bottom, r.y, r.h));
}

void Studio::Ellipse(const Line& line) {
    line.ExpectCount(6, 6);
    const int cx = line.Int(1), cy = line.Int(2), rx = line.Int(3), ry = line.Int(4);
    if (rx < 1 || ry < 1) line.Fail("radii must be at least 1");
    FillRegion(Current(line), {cx - rx, cy - ry, 2 * rx + 1, 2 * ry + 1},
               EllipseRegion(cx, cy, rx, ry), Solid(line.Paint(5)));
}

void Studio::Polygon(const Line& line) {
    if (line.Count() < 8 || line.Count() % 2 != 0) line.Fail("polygon COLOUR and 3 or more X Y");
    std::vector<Point> points;
    for (size_t i = 2; i + 1 < line.Count(); i += 2) {
        points.push_back({static_cast<double>(line.Int(i)), static_cast<double>(line.Int(i + 1))});
    }
    FillRegion(Current(line), BoundsOf(points), PolygonRegion(points), Solid(line.Paint(1)));
}

void Studio::Band(const Line& line) {
    line.ExpectCount(7, 7);
    const Point a{static_cast<double>(line.Int(1)), static_cast<double>(line.Int(2))};
    const Point b{static_cast<double>(line.Int(3)), static_cast<double>(line.Int(4))};
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (length == 0) line.Fail("a line needs two different points");
    // Half the width, at right angles to the line.
    const double nx = -(b.y - a.y) / length * line.Int(5) / 2;
    const double ny = (b.x - a.x) / length * line.Int(5) / 2;
    const std::vector<Point> corners = {
        {a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}};
    FillRegion(Current(line), BoundsOf(corners), PolygonRegion(corners), Solid(line.Paint(6)));
}

// text X Y W H SIZE COLOUR "TEXT" [outline N COLOUR] [shadow DX DY COLOUR] [to COLOUR]
void Studio::Words(const Line& line) {
    const Rect box{line.Int(1), line.Int(2), line.Int(3), line.Int(4)};
    const int size = line.Int(5);
    const Colour top = line.Paint(6);
    Colour bottom = top;
    const std::string& text = line.Word(7);
    int outline = 0, dx = 0, dy = 0;
    std::optional<Colour> outlineColour, shadowColour;
    for (size_t i = 8; i < line.Count();) {
        const std::string& option = line.Word(i);
        if (option == "outline") {
            outline = line.Int(i + 1);
            outlineColour = line.Paint(i + 2);
            i += 3;
        } else if (option == "shadow") {
            dx = line.Int(i + 1);
            dy = line.Int(i + 2);
            shadowColour = line.Paint(i + 3);
            i += 4;
        } else if (option == "to") {
            bottom = line.Paint(i + 1);
            i += 2;
        } else {
            line.Fail("unknown text option: " + option);
        }
    }
    if (size < 4 || size > 400 || outline < 0 || outline > 20) line.Fail("text size out of range");
    if (text.empty()) line.Fail("empty text");
    const CoverageMap body = Texts().Render(text, size, 0);
    const CoverageMap edge = outline > 0 ? Texts().Render(text, size, outline) : body;
    const Span ink = InkBounds(edge);
    const int left = box.x + (box.w - (ink.x1 - ink.x0 + 1)) / 2 - ink.x0;
    const int topRow = box.y + (box.h - (ink.y1 - ink.y0 + 1)) / 2 - ink.y0;
    Image& image = Current(line);
    if (shadowColour) LayCoverage(image, edge, left + dx, topRow + dy, Solid(*shadowColour));
    if (outlineColour) LayCoverage(image, edge, left, topRow, Solid(*outlineColour));
    LayCoverage(image, body, left + outline, topRow + outline,
                VerticalGradient(top, bottom, topRow + ink.y0, ink.y1 - ink.y0 + 1));
}

// art FILE X Y [mirror] [scale N]
void Studio::Art(const Line& line) {
    const PixelArt& grid = Grid(line.Word(1));
    PixelArt sized = grid;
    bool mirror = false;
    for (size_t i = 4; i < line.Count(); ++i) {
        if (line.Word(i) == "mirror") {
            mirror = true;
        } else if (line.Word(i) == "scale") {
            sized.scale = line.Int(++i);
            if (sized.scale < 1 || sized.scale > 16) line.Fail("scale 1..16");
        } else {
            line.Fail("unknown art option: " + line.Word(i));
        }
    }
    StampPixelArt(Current(line), sized, line.Int(2), line.Int(3), mirror);
}

// tile NAME X Y W H [DX DY] [scale N]
void Studio::Tile(const Line& line) {
    if (line.Count() < 6) line.Fail("tile NAME X Y W H [DX DY] [scale N]");
    const Image& source = Finished(line, line.Word(1));
    const Rect r{line.Int(2), line.Int(3), line.Int(4), line.Int(5)};
    size_t next = 6;
    int dx = 0, dy = 0, scale = 1;
    if (line.Count() > next && line.Word(next) != "scale") {
        dx = line.Int(next);
        dy = line.Int(next + 1);
        next += 2;
    }
    if (line.Count() > next) {
        if (line.Word(next) != "scale" || line.Count() != next + 2) line.Fail("expected: scale N");
        scale = line.Int(next + 1);
        if (scale < 1 || scale > 16) line.Fail("scale 1..16");
    }
    Image& image = Current(line);
    for (int y = r.y; y < r.y + r.h; ++y) {
        for (int x = r.x; x < r.x + r.w; ++x) {
            image.Blend(x, y,
                        source.At(Modulo((x - r.x) / scale + dx, source.Width()),
                                  Modulo((y - r.y) / scale + dy, source.Height())));
        }
    }
}

void Studio::Crop(const Line& line) {
    line.ExpectCount(4, 4);
    const Image& source = Finished(line, line.Word(1));
    const int x0 = line.Int(2), y0 = line.Int(3);
    Image& image = Current(line);
    if (x0 < 0 || y0 < 0 || x0 + image.Width() > source.Width() ||
        y0 + image.Height() > source.Height()) {
        line.Fail("the crop reaches outside " + line.Word(1));
    }
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x)
            image.Blend(x, y, source.At(x0 + x, y0 + y));
    }
}

void Studio::Threshold(const Line& line) {
    line.ExpectCount(1, 1);
    Image& image = Current(line);
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const Colour c = image.At(x, y);
            const bool light = c.r + c.g + c.b >= 3 * 128;
            image.Blend(x, y, light ? Colour{255, 255, 255} : Colour{0, 0, 0});
        }
    }
}

}  // namespace

std::vector<NamedImage> RunScripts(const std::string& artDir, const std::string& main) {
    Studio studio(artDir);
    studio.Run(main, 0);
    return studio.Finish();
}

}  // namespace Artgen
