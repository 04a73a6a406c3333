// The committed glyph strips and the application icon, read from the source
// tree as windres will embed them: the facts the buttons and the shell rely on,
// and that they are still exactly what their generator draws.
#include <gtest/gtest.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Rgb {
  int r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
  bool grey() const { return r == g && g == b; }
};

std::ostream& operator<<(std::ostream& os, const Rgb& c) { return os << '(' << c.r << ',' << c.g << ',' << c.b << ')'; }

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFileIn(const std::filesystem::path& dir, const std::string& name) {
  std::ifstream in(dir / name, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + (dir / name).string());
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes ReadFile(const std::string& name) { return ReadFileIn(MPI_RESOURCE_DIR, name); }

int U8(const Bytes& b, size_t at) {
  if (at >= b.size()) throw std::out_of_range("read past the end");
  return b[at];
}

unsigned U16(const Bytes& b, size_t at) { return static_cast<unsigned>(U8(b, at) | U8(b, at + 1) << 8); }

std::uint32_t U32(const Bytes& b, size_t at) { return U16(b, at) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16; }

std::int32_t I32(const Bytes& b, size_t at) { return static_cast<std::int32_t>(U32(b, at)); }

// A device-independent bitmap decoded from a BITMAPINFOHEADER, pixels top-down.
struct Dib {
  int width = 0, height = 0, bits = 0;
  std::vector<Rgb> palette;
  std::vector<std::vector<Rgb>> rows;
  std::vector<std::vector<int>> indices;  // palette indices, for <= 8 bits
  size_t end = 0;                         // offset just past the pixel bits

  Rgb at(int x, int y) const { return rows.at(y).at(x); }
};

// header: offset of the BITMAPINFOHEADER; pixels: offset of the pixel bits;
// rows: how many rows the bits hold (an icon's header counts its mask too).
Dib DecodeDib(const Bytes& b, size_t header, size_t pixels, int image_rows) {
  Dib d;
  if (U32(b, header) != 40) throw std::runtime_error("not a BITMAPINFOHEADER");
  d.width = I32(b, header + 4);
  d.bits = static_cast<int>(U16(b, header + 14));
  if (U16(b, header + 12) != 1 || U32(b, header + 16) != 0) throw std::runtime_error("planes or compression");
  if (d.bits <= 8) {
    std::uint32_t used = U32(b, header + 32);
    size_t count = used ? used : 1u << d.bits;
    for (size_t i = 0; i < count; ++i) {
      size_t at = header + 40 + 4 * i;
      d.palette.push_back({U8(b, at + 2), U8(b, at + 1), U8(b, at)});
    }
  }
  // Positive heights are stored bottom row first.
  bool bottom_up = image_rows > 0;
  d.height = bottom_up ? image_rows : -image_rows;
  size_t stride = ((static_cast<size_t>(d.width) * d.bits + 31) / 32) * 4;
  d.rows.assign(d.height, std::vector<Rgb>(d.width));
  d.indices.assign(d.height, std::vector<int>(d.width, -1));
  for (int stored = 0; stored < d.height; ++stored) {
    int y = bottom_up ? d.height - 1 - stored : stored;
    size_t row = pixels + stored * stride;
    for (int x = 0; x < d.width; ++x) {
      if (d.bits == 24) {
        size_t at = row + size_t{3} * static_cast<size_t>(x);
        d.rows[y][x] = {U8(b, at + 2), U8(b, at + 1), U8(b, at)};
      } else if (d.bits == 4) {
        int byte = U8(b, row + x / 2);
        int index = x % 2 ? byte & 0x0f : byte >> 4;
        if (index >= static_cast<int>(d.palette.size())) throw std::runtime_error("index outside the palette");
        d.indices[y][x] = index;
        d.rows[y][x] = d.palette[index];
      } else {
        throw std::runtime_error("unexpected colour depth " + std::to_string(d.bits));
      }
    }
  }
  d.end = pixels + d.height * stride;
  if (d.end > b.size()) throw std::out_of_range("pixel bits past the end");
  return d;
}

Dib ReadBmp(const std::string& name) {
  Bytes b = ReadFile(name);
  if (U8(b, 0) != 'B' || U8(b, 1) != 'M') throw std::runtime_error(name + " is not a BMP");
  if (U32(b, 2) != b.size()) throw std::runtime_error(name + ": file size field is wrong");
  Dib d = DecodeDib(b, 14, U32(b, 10), I32(b, 22));
  if (U32(b, 10) != 14 + 40 + 4 * d.palette.size()) throw std::runtime_error(name + ": bits do not follow the palette");
  return d;
}

enum class Hue { Green, Red, Cyan };

bool HasHue(Rgb c, Hue hue) {
  const int margin = 40;
  switch (hue) {
    case Hue::Green:
      return c.g > c.r + margin && c.g > c.b + margin;
    case Hue::Red:
      return c.r > c.g + margin && c.r > c.b + margin;
    case Hue::Cyan:
      return c.g > c.r + margin && c.b > c.r + margin;
  }
  return false;
}

struct Box {
  int left = 1000, top = 1000, right = -1, bottom = -1;
  void Add(int x, int y) {
    left = std::min(left, x), top = std::min(top, y);
    right = std::max(right, x), bottom = std::max(bottom, y);
  }
};

struct GlyphCase {
  const char* file;
  int bits;
  Rgb transparent;
  Hue hue;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const GlyphCase& c, std::ostream* os) { *os << c.file; }

class GlyphStripTest : public testing::TestWithParam<GlyphCase> {};

TEST_P(GlyphStripTest, IsTwoPicturesWithTheBottomLeftPixelTransparent) {
  const GlyphCase& c = GetParam();
  Dib d = ReadBmp(c.file);
  EXPECT_EQ(d.width, 36);
  EXPECT_EQ(d.height, 18);
  EXPECT_EQ(d.bits, c.bits);
  EXPECT_EQ(d.palette.size(), c.bits == 4 ? 16u : 0u);
  EXPECT_EQ(d.at(0, 17), c.transparent);
}

TEST_P(GlyphStripTest, EnabledPictureHasItsColour) {
  const GlyphCase& c = GetParam();
  Dib d = ReadBmp(c.file);
  int drawn = 0, coloured = 0;
  for (int y = 0; y < 18; ++y) {
    for (int x = 0; x < 18; ++x) {
      if (d.at(x, y) == c.transparent) continue;
      ++drawn;
      coloured += HasHue(d.at(x, y), c.hue);
    }
  }
  EXPECT_GE(coloured, 20) << "too little of the glyph's colour";
  EXPECT_GT(2 * coloured, drawn) << "most drawn pixels should have the glyph's colour";
}

TEST_P(GlyphStripTest, DisabledPictureIsAGreyOutlineOfTheSameShape) {
  const GlyphCase& c = GetParam();
  Dib d = ReadBmp(c.file);
  Box enabled, outline;
  bool differs = false;
  for (int y = 0; y < 18; ++y) {
    for (int x = 0; x < 18; ++x) {
      Rgb left = d.at(x, y), right = d.at(18 + x, y);
      differs |= !(left == right);
      if (!(left == c.transparent)) enabled.Add(x, y);
      if (right == c.transparent) continue;
      EXPECT_TRUE(right.grey()) << "colour " << right << " at " << x << "," << y;
      if (right.r < 192) {
        outline.Add(x, y);
        EXPECT_FALSE(left == c.transparent) << "outline outside the shape at " << x << "," << y;
      }
    }
  }
  EXPECT_TRUE(differs) << "no separate disabled picture";
  ASSERT_GE(outline.right, 0) << "the disabled picture has no dark outline";
  // The enabled picture may carry a one-pixel soft fringe the outline skips.
  EXPECT_NEAR(outline.left, enabled.left, 1);
  EXPECT_NEAR(outline.top, enabled.top, 1);
  EXPECT_NEAR(outline.right, enabled.right, 1);
  EXPECT_NEAR(outline.bottom, enabled.bottom, 1);
}

INSTANTIATE_TEST_SUITE_P(Glyphs, GlyphStripTest,
                         testing::Values(GlyphCase{"glyph_copy.bmp", 24, {128, 128, 0}, Hue::Green},
                                         GlyphCase{"glyph_close.bmp", 24, {128, 128, 0}, Hue::Red},
                                         GlyphCase{"glyph_help.bmp", 4, {191, 191, 0}, Hue::Cyan}),
                         [](const auto& param_info) {
                           std::string name = param_info.param.file;
                           return name.substr(0, name.find('.'));
                         });

TEST(AppIconTest, IsOne32x32ImageIn16ColoursWithAMask) {
  Bytes b = ReadFile("app.ico");
  // ICONDIR and its single ICONDIRENTRY.
  ASSERT_GE(b.size(), 22u);
  EXPECT_EQ(U16(b, 0), 0u);
  EXPECT_EQ(U16(b, 2), 1u) << "type 1 is an icon";
  ASSERT_EQ(U16(b, 4), 1u) << "one image";
  EXPECT_EQ(b[6], 32);
  EXPECT_EQ(b[7], 32);
  EXPECT_EQ(b[8], 16) << "colour count";
  EXPECT_EQ(U16(b, 12), 4u) << "bits per pixel";
  std::uint32_t size = U32(b, 14), offset = U32(b, 18);
  ASSERT_EQ(static_cast<size_t>(offset) + size, b.size());

  // The image's header counts the colour bits and the AND mask together.
  ASSERT_EQ(I32(b, offset + 8), 64);
  Dib colour = DecodeDib(b, offset, offset + 40 + 4 * 16, 32);
  EXPECT_EQ(colour.width, 32);
  EXPECT_EQ(colour.bits, 4);
  EXPECT_EQ(colour.palette.size(), 16u);
  const size_t mask_stride = 4;
  ASSERT_EQ(colour.end + 32 * mask_stride, b.size()) << "AND mask missing or the wrong size";

  int transparent = 0, opaque = 0;
  std::vector<Rgb> used;
  for (int y = 0; y < 32; ++y) {
    size_t row = colour.end + (31 - y) * mask_stride;
    for (int x = 0; x < 32; ++x) {
      bool see_through = b[row + x / 8] & (0x80 >> (x % 8));
      if (see_through) {
        ++transparent;
        // Anything but black there would be inverted onto the desktop.
        EXPECT_EQ(colour.at(x, y), (Rgb{0, 0, 0})) << "at " << x << "," << y;
      } else {
        ++opaque;
        if (std::find(used.begin(), used.end(), colour.at(x, y)) == used.end()) used.push_back(colour.at(x, y));
      }
    }
  }
  EXPECT_GT(transparent, 0) << "the picture should not be a filled square";
  EXPECT_GT(opaque, 32 * 32 / 2);
  EXPECT_GE(used.size(), 5u) << "a picture, not a blot";
  EXPECT_TRUE(b[colour.end + 31 * mask_stride] & 0x80) << "the top-left corner should show the desktop";
}

// --- the generator and its committed output ---------------------------------

// A fresh folder, removed with everything in it at the end of the test.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mpi-resources.XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
    path_ = pattern;
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Runs a program without a shell, so that no path needs quoting; its output
// goes to the test's. Returns the exit status, or -1 when it did not exit.
int RunProgram(std::vector<std::string> args) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// The file names in `dir` that `keep` accepts.
template <typename Keep>
std::set<std::string> FileNames(const std::filesystem::path& dir, Keep keep) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && keep(name)) names.insert(name);
  }
  return names;
}

std::string Listed(const std::set<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += " " + name;
  return text;
}

// Every picture in the resource folder is the generator's output: a picture
// edited by hand, a change to the generator committed without its output, or
// a file the generator stopped (or started) writing would otherwise go
// unnoticed until someone regenerates the files for an unrelated reason.
TEST(ResourceGeneratorTest, RedrawsEveryCommittedPictureByteForByte) {
  ScratchDir out;
  ASSERT_EQ(RunProgram({MPI_PYTHON3, MPI_RESOURCE_GENERATOR, out.path().string()}), 0)
      << MPI_RESOURCE_GENERATOR " failed";

  auto picture = [](const std::string& name) {
    std::string ext = std::filesystem::path(name).extension().string();
    return ext == ".bmp" || ext == ".ico";
  };
  std::set<std::string> committed = FileNames(MPI_RESOURCE_DIR, picture);
  std::set<std::string> generated = FileNames(out.path(), [](const std::string&) { return true; });
  ASSERT_FALSE(generated.empty()) << "the generator wrote nothing";
  std::set<std::string> only_committed, only_generated;
  std::ranges::set_difference(committed, generated, std::inserter(only_committed, only_committed.end()));
  std::ranges::set_difference(generated, committed, std::inserter(only_generated, only_generated.end()));
  EXPECT_TRUE(only_committed.empty()) << "committed but not generated:" << Listed(only_committed);
  EXPECT_TRUE(only_generated.empty()) << "generated but not committed:" << Listed(only_generated);

  for (const std::string& name : generated) {
    if (!committed.count(name)) continue;
    Bytes want = ReadFile(name), got = ReadFileIn(out.path(), name);
    auto [w, g] = std::ranges::mismatch(want, got);
    if (w == want.end() && g == got.end()) continue;
    ADD_FAILURE() << name << " differs from its regenerated copy: " << want.size() << " bytes committed, " << got.size()
                  << " generated, first difference at offset " << (w - want.begin());
  }
}

}  // namespace
