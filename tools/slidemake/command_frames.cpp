// frame, transition and catalogue: transitions composed by the runtime's own engine, for authors
// who want to see a style before choosing it.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>

#include "base/random.h"
#include "gfx/raster.h"
#include "base/text.h"
#include "commands.h"
#include "common/gif_encoder.h"
#include "common/sample_painters.h"
#include "picture_file.h"
#include "platform/headless/bitmap_font.h"
#include "effects/update_frame.h"

namespace slidemake {
namespace {

namespace fs = std::filesystem;

// "--name value" pairs; `allowed` lists the names a command takes.
std::map<std::string, std::string> parse_options(const Args& args,
                                                 std::initializer_list<const char*> allowed,
                                                 const char* usage) {
  std::map<std::string, std::string> out;
  for (size_t i = 0; i < args.size(); ++i) {
    bool known = false;
    for (const char* name : allowed) known |= args[i] == name;
    if (!known || i + 1 >= args.size()) throw std::runtime_error(std::string("usage: ") + usage);
    out[args[i]] = args[i + 1];
    ++i;
  }
  return out;
}

int32_t int_option(const std::map<std::string, std::string>& o, const char* name, int32_t fallback,
                   int32_t lo, int32_t hi) {
  const auto it = o.find(name);
  if (it == o.end()) return fallback;
  const auto v = ss::parse_int32(it->second);
  if (!v || *v < lo || *v > hi)
    throw std::runtime_error(std::string(name) + " takes a number from " + std::to_string(lo) +
                             " to " + std::to_string(hi));
  return *v;
}

std::string required(const std::map<std::string, std::string>& o, const char* name,
                     const char* usage) {
  const auto it = o.find(name);
  if (it == o.end()) throw std::runtime_error(std::string("missing ") + name + "; usage: " + usage);
  return it->second;
}

// The old and new images at one size: scaled to --size, or as they are when equal.
std::pair<ss::Bitmap24, ss::Bitmap24> load_pair(const std::map<std::string, std::string>& o,
                                                const char* usage) {
  ss::Bitmap24 old_image = load_picture_file(required(o, "--old", usage));
  ss::Bitmap24 new_image = load_picture_file(required(o, "--new", usage));
  if (const auto it = o.find("--size"); it != o.end()) {
    const ss::Point size = parse_size(it->second);
    return {scaled(old_image, size.x, size.y), scaled(new_image, size.x, size.y)};
  }
  if (old_image.width() != new_image.width() || old_image.height() != new_image.height())
    throw std::runtime_error(
        "the old picture is " + std::to_string(old_image.width()) + "x" +
        std::to_string(old_image.height()) + " and the new one " +
        std::to_string(new_image.width()) + "x" + std::to_string(new_image.height()) +
        "; give --size WxH to scale both");
  return {std::move(old_image), std::move(new_image)};
}

ss::FrameOutcome compose(const ss::Bitmap24& old_image, ss::Bitmap24& new_image,
                         ss::Bitmap24& screen, int32_t style, int32_t progress, int32_t step) {
  ss::FrameInputs frame{old_image, new_image, screen};
  frame.style = style;
  frame.progress = progress;
  frame.step = step;
  return ss::UpdateFrame(frame);
}

void draw_label(ss::Bitmap24& dst, int32_t x, int32_t y, const std::string& text, int32_t scale) {
  namespace font = ss::bitmap_font;
  for (size_t i = 0; i < text.size(); ++i)
    for (int32_t row = 0; row < font::kGlyphHeight; ++row)
      for (int32_t col = 0; col < font::kGlyphWidth; ++col)
        if (font::dot(static_cast<unsigned char>(text[i]), col, row)) {
          const int32_t px = x + (static_cast<int32_t>(i) * font::kCellWidth + col) * scale;
          ss::fill(dst, {px, y + row * scale, px + scale, y + (row + 1) * scale}, ss::kWhite);
        }
}

constexpr const char* kFrameUsage =
    "slidemake frame --style N --progress P --old A --new B -o OUT.png [--step S] [--size WxH]";
constexpr const char* kTransitionUsage =
    "slidemake transition --style N --old A --new B -o OUT.gif|DIR [--step S] [--size WxH]";
constexpr const char* kCatalogueUsage =
    "slidemake catalogue -o STYLES.png [--progress P] [--size WxH]";

}  // namespace

int run_frame(const Args& args) {
  const auto o = parse_options(
      args, {"--style", "--progress", "--old", "--new", "-o", "--step", "--size"}, kFrameUsage);
  const int32_t style = int_option(o, "--style", -1, 0, 127);
  const int32_t progress = int_option(o, "--progress", -1, 0, 100);
  if (style < 0 || progress < 0) throw std::runtime_error(std::string("usage: ") + kFrameUsage);
  const std::string output = required(o, "-o", kFrameUsage);
  auto [old_image, new_image] = load_pair(o, kFrameUsage);
  ss::Bitmap24 screen(old_image.width(), old_image.height());
  compose(old_image, new_image, screen, style, progress, int_option(o, "--step", 4, 1, 100));
  write_png_file(output, screen);
  std::printf("%s: style %d at %d%%\n", output.c_str(), style, progress);
  return 0;
}

int run_transition(const Args& args) {
  const auto o = parse_options(args, {"--style", "--old", "--new", "-o", "--step", "--size"},
                               kTransitionUsage);
  const int32_t style = int_option(o, "--style", -1, 0, 127);
  if (style < 0) throw std::runtime_error(std::string("usage: ") + kTransitionUsage);
  const int32_t step = int_option(o, "--step", 4, 1, 100);
  const std::string output = required(o, "-o", kTransitionUsage);
  auto [old_image, new_image] = load_pair(o, kTransitionUsage);
  ss::Bitmap24 screen(old_image.width(), old_image.height());

  // The progress values a transition steps through, from the old picture to the new one.
  std::vector<int32_t> steps = {0};
  for (int32_t p = step; p < 100 + step; p += step) steps.push_back(std::min(p, 100));
  const bool gif = fs::path(output).extension() == ".gif";
  if (!gif) fs::create_directories(output);
  ss::GifEncoder encoder(screen.width(), screen.height());
  int frames = 0;
  for (size_t i = 0; i < steps.size(); ++i) {
    const ss::FrameOutcome outcome = compose(old_image, new_image, screen, style, steps[i], step);
    // Hold the first and last pictures a little longer so the loop reads well.
    const uint16_t delay = (i == 0 || i + 1 == steps.size()) ? 80 : 4;
    if (gif) {
      encoder.add_frame(screen, delay);
    } else {
      char name[32];
      std::snprintf(name, sizeof name, "frame-%03d.png", frames);
      write_png_file((fs::path(output) / name).string(), screen);
    }
    ++frames;
    if (outcome.progress_forced_to_100) break;
  }
  if (gif) {
    const std::vector<uint8_t> bytes = encoder.finish();
    std::ofstream(output, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  std::printf("%s: %d frames of style %d\n", output.c_str(), frames, style);
  return 0;
}

int run_catalogue(const Args& args) {
  const auto o = parse_options(args, {"-o", "--progress", "--size"}, kCatalogueUsage);
  const std::string output = required(o, "-o", kCatalogueUsage);
  const int32_t progress = int_option(o, "--progress", 50, 0, 100);
  const ss::Point cell = o.count("--size") ? parse_size(o.at("--size")) : ss::Point{160, 100};
  constexpr int32_t kColumns = 12, kStyles = 127, kGap = 4, kLabel = 18;
  const int32_t rows = (kStyles + kColumns - 1) / kColumns;

  const ss::Bitmap24 old_image = ss::sample::paint_sunrise(cell.x, cell.y);
  ss::Bitmap24 new_image = ss::sample::paint_mosaic(cell.x, cell.y);
  ss::Bitmap24 sheet(kColumns * (cell.x + kGap) + kGap, rows * (cell.y + kLabel + kGap) + kGap);
  ss::fill(sheet, sheet.bounds(), ss::rgb(40, 40, 48));
  ss::Bitmap24 screen(cell.x, cell.y);
  for (int32_t style = 1; style <= kStyles; ++style) {
    ss::set_random_seed(0);  // each cell as a fresh process would draw it
    compose(old_image, new_image, screen, style, progress, 4);
    const int32_t col = (style - 1) % kColumns, row = (style - 1) / kColumns;
    const int32_t x = kGap + col * (cell.x + kGap), y = kGap + row * (cell.y + kLabel + kGap);
    ss::draw(sheet, x, y + kLabel, screen);
    draw_label(sheet, x + 2, y + 2, std::to_string(style), 2);
  }
  write_png_file(output, sheet);
  std::printf("%s: styles 1 to 127 at %d%%, %dx%d each\n", output.c_str(), progress, cell.x,
              cell.y);
  return 0;
}

}  // namespace slidemake
