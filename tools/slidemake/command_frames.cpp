// frame, transition and catalogue: transitions composed by the runtime's own engine, for authors
// who want to see a style before choosing it.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "base/random.h"
#include "gfx/raster.h"
#include "base/text.h"
#include "command_line.h"
#include "commands.h"
#include "common/gif_encoder.h"
#include "common/sample_painters.h"
#include "picture_file.h"
#include "platform/headless/bitmap_font.h"
#include "effects/update_frame.h"

namespace slidemake {
namespace {

namespace fs = std::filesystem;

// The options the three commands share.
struct FrameOptions {
  int32_t style = -1;
  int32_t progress = 50;
  int32_t step = 4;
  std::string old_file, new_file, output, size;
};

void add_pair_options(CLI::App& app, FrameOptions& o) {
  app.add_option("--old", o.old_file, "the picture the transition starts from")->required();
  app.add_option("--new", o.new_file, "the picture it ends on")->required();
  app.add_option("--size", o.size, "scale both pictures to WxH (needed when their sizes differ)");
  app.add_option("--step", o.step, "the progress a frame moves on, 1 to 100 (default 4)")
      ->check(CLI::Range(1, 100));
}

// The old and new images at one size: scaled to --size, or as they are when equal.
std::pair<ss::Bitmap24, ss::Bitmap24> load_pair(const FrameOptions& o) {
  ss::Bitmap24 old_image = load_picture_file(o.old_file);
  ss::Bitmap24 new_image = load_picture_file(o.new_file);
  if (!o.size.empty()) {
    const ss::Point size = parse_size(o.size);
    return {scaled(old_image, size.x, size.y), scaled(new_image, size.x, size.y)};
  }
  if (old_image.width() != new_image.width() || old_image.height() != new_image.height())
    throw std::runtime_error("the old picture is " + std::to_string(old_image.width()) + "x" +
                             std::to_string(old_image.height()) + " and the new one " +
                             std::to_string(new_image.width()) + "x" +
                             std::to_string(new_image.height()) +
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

}  // namespace

int run_frame(const Args& args) {
  CLI::App app("One frame of a transition, composed as the saver composes it.", "slidemake frame");
  FrameOptions o;
  app.add_option("--style", o.style, "the style, 0 to 127")->required()->check(CLI::Range(0, 127));
  app.add_option("--progress", o.progress, "how far the transition has come, 0 to 100")
      ->required()
      ->check(CLI::Range(0, 100));
  app.add_option("-o", o.output, "the PNG to write")->required();
  add_pair_options(app, o);
  if (!parse_command(app, args)) return 0;
  auto [old_image, new_image] = load_pair(o);
  ss::Bitmap24 screen(old_image.width(), old_image.height());
  compose(old_image, new_image, screen, o.style, o.progress, o.step);
  write_png_file(o.output, screen);
  std::printf("%s: style %d at %d%%\n", o.output.c_str(), o.style, o.progress);
  return 0;
}

int run_transition(const Args& args) {
  CLI::App app("Every frame of one transition, as a GIF or as numbered PNG frames.",
               "slidemake transition");
  FrameOptions o;
  app.add_option("--style", o.style, "the style, 0 to 127")->required()->check(CLI::Range(0, 127));
  app.add_option("-o", o.output, "OUT.gif, or a folder for PNG frames")->required();
  add_pair_options(app, o);
  if (!parse_command(app, args)) return 0;
  const int32_t style = o.style, step = o.step;
  const std::string& output = o.output;
  auto [old_image, new_image] = load_pair(o);
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
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  std::printf("%s: %d frames of style %d\n", output.c_str(), frames, style);
  return 0;
}

int run_catalogue(const Args& args) {
  CLI::App app("A contact sheet of all 127 styles at one progress.", "slidemake catalogue");
  FrameOptions o;
  app.add_option("-o", o.output, "the PNG to write")->required();
  app.add_option("--progress", o.progress,
                 "how far each transition has come, 0 to 100 (default 50)")
      ->check(CLI::Range(0, 100));
  app.add_option("--size", o.size, "the size of one cell, WxH (default 160x100)");
  if (!parse_command(app, args)) return 0;
  const std::string& output = o.output;
  const int32_t progress = o.progress;
  const ss::Point cell = o.size.empty() ? ss::Point{160, 100} : parse_size(o.size);
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
