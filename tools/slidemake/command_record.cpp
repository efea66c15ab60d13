// slidemake record: runs a saver's show on the headless backend, on a virtual clock, and writes
// what the screen showed as an animated GIF or as numbered PNG frames, so that an author can
// watch a saver without Windows. The show is the real one: the same form, slide sequencer and
// transitions as the runtime, reading the saver file as its own executable.
#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>

#include "base/text.h"
#include "command_line.h"
#include "commands.h"
#include "common/gif_encoder.h"
#include "gfx/bitmap24.h"
#include "gfx/size_text.h"
#include "package/png_codec.h"
#include "platform/headless/headless_platform.h"
#include "show/saver_mode.h"
#include "show/show_form.h"

namespace slidemake {
namespace {

namespace fs = std::filesystem;

// A GIF shows the screen as it stood at every 100 ms of the show.
constexpr uint64_t kGifSampleMs = 100;
constexpr uint16_t kGifSampleCs = 10;
// GIF frames are halved until they are at most this wide, to keep the file small.
constexpr int32_t kGifMaxWidth = 640;
constexpr int32_t kMaxScreenSide = 8192;
constexpr double kMaxSeconds = 3600;

struct RecordOptions {
  std::string saver;
  std::string output;
  double seconds = 10;
  ss::Point size{1280, 720};
  enum class Kind { kPngFrames, kGif, kWebp } kind = Kind::kPngFrames;
};

ss::Point screen_size(const std::string& text) {
  if (const std::optional<ss::Point> size = ss::parse_size(text, kMaxScreenSide)) return *size;
  throw std::runtime_error("--size wants WIDTHxHEIGHT, each 1 to " +
                           std::to_string(kMaxScreenSide) + ", not \"" + text + "\"");
}

double parse_seconds(const std::string& text) {
  size_t used = 0;
  double seconds = 0;
  try {
    seconds = std::stod(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || !(seconds > 0) || seconds > kMaxSeconds)
    throw std::runtime_error("--seconds wants a number above 0 and at most 3600, not \"" + text +
                             "\"");
  return seconds;
}

// Empty when the user asked for --help.
std::optional<RecordOptions> parse_record_args(const Args& args) {
  CLI::App app(
      "Run a saver's show headless and save what it showed: an animated GIF or WebP, "
      "or numbered PNG frames in a folder.",
      "slidemake record");
  RecordOptions o;
  std::string seconds, size;
  app.add_option("SAVER", o.saver, "the saver")->required();
  app.add_option("-o", o.output, "OUT.gif, OUT.webp, or a folder for PNG frames")->required();
  app.add_option("--seconds", seconds, "how long to run the show (default 10)");
  app.add_option("--size", size, "the screen, WxH (default 1280x720)");
  if (!parse_command(app, args)) return std::nullopt;
  if (!seconds.empty()) o.seconds = parse_seconds(seconds);
  if (!size.empty()) o.size = screen_size(size);
  const std::string extension = ss::ascii_lower(fs::path(o.output).extension().string());
  if (extension == ".gif") o.kind = RecordOptions::Kind::kGif;
  if (extension == ".webp") o.kind = RecordOptions::Kind::kWebp;
  return o;
}

// A fresh folder for the media the show extracts, removed again afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("slidemake-record-" + std::to_string(random()));
    fs::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  // With a separator at the end, as the platform hands out temporary directories.
  std::string folder() const { return (path_ / "").string(); }

 private:
  fs::path path_;
};

// The screens the show presented, one per virtual instant: of several paints within one
// instant only the last was ever to be seen. Each screen goes to the sink with the span of
// virtual time it stood on the screen.
class ScreenTimeline {
 public:
  using Sink = std::function<void(const ss::Bitmap24& screen, uint64_t from_ms, uint64_t until_ms)>;

  ScreenTimeline(ss::Point size, Sink sink) : latest_(size.x, size.y), sink_(std::move(sink)) {}

  void presented(const ss::Bitmap24& screen, uint64_t now_ms) {
    if (now_ms > latest_at_) sink_(latest_, latest_at_, now_ms);
    latest_ = screen;
    latest_at_ = now_ms;
  }
  // The last screen stands until end_ms (at least for an instant).
  void finish(uint64_t end_ms) { sink_(latest_, latest_at_, std::max(end_ms, latest_at_ + 1)); }

 private:
  ss::Bitmap24 latest_;  // black until the show first paints
  uint64_t latest_at_ = 0;
  Sink sink_;
};

// Averages each factor × factor block into one pixel.
ss::Bitmap24 shrink(const ss::Bitmap24& image, int32_t factor) {
  if (factor == 1) return image;
  ss::Bitmap24 out(image.width() / factor, image.height() / factor);
  const int32_t area = factor * factor;
  for (int32_t y = 0; y < out.height(); ++y) {
    uint8_t* dst = out.row(y);
    for (int32_t x = 0; x < out.width(); ++x)
      for (int channel = 0; channel < 3; ++channel) {
        int32_t sum = 0;
        for (int32_t dy = 0; dy < factor; ++dy)
          for (int32_t dx = 0; dx < factor; ++dx)
            sum += image.row(y * factor + dy)[(x * factor + dx) * 3 + channel];
        dst[x * 3 + channel] = static_cast<uint8_t>((sum + area / 2) / area);
      }
  }
  return out;
}

int32_t gif_shrink_factor(ss::Point size) {
  int32_t factor = 1;
  while (size.x / factor > kGifMaxWidth) factor *= 2;
  return factor;
}

void save(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write \"" + path.string() + "\"");
}

// Samples every 100 ms: a screen that stood over n sample points becomes a frame of n × 10 cs.
class GifSink {
 public:
  explicit GifSink(ss::Point size)
      : factor_(gif_shrink_factor(size)), gif_(size.x / factor_, size.y / factor_) {}

  void add(const ss::Bitmap24& screen, uint64_t from_ms, uint64_t until_ms) {
    uint64_t samples = 0;
    for (; next_sample_ms_ < until_ms; next_sample_ms_ += kGifSampleMs)
      if (next_sample_ms_ >= from_ms) ++samples;
    if (samples == 0) return;
    const ss::Bitmap24 frame = shrink(screen, factor_);
    for (; samples > 0; samples -= std::min<uint64_t>(samples, 6000))
      gif_.add_frame(frame,
                     static_cast<uint16_t>(std::min<uint64_t>(samples, 6000) * kGifSampleCs));
  }
  int frames() const { return gif_.frames_written(); }
  void write(const std::string& path) { save(path, gif_.finish()); }

 private:
  int32_t factor_;
  ss::GifEncoder gif_;
  uint64_t next_sample_ms_ = 0;
};

// Every screen at the time it appeared, in full colour, through libwebp's animation encoder
// (which stores only what changed).
class WebpSink {
 public:
  explicit WebpSink(ss::Point size) : size_(size) {
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&config_))
      throw std::runtime_error("libwebp is not the version slidemake was built with");
    options.anim_params.loop_count = 0;
    config_.quality = 90;
    encoder_ = WebPAnimEncoderNew(size.x, size.y, &options);
    if (encoder_ == nullptr) throw std::runtime_error("cannot start the WebP encoder");
  }
  ~WebpSink() { WebPAnimEncoderDelete(encoder_); }
  WebpSink(const WebpSink&) = delete;
  WebpSink& operator=(const WebpSink&) = delete;

  void add(const ss::Bitmap24& screen, uint64_t from_ms, uint64_t until_ms) {
    WebPPicture picture;
    if (!WebPPictureInit(&picture)) throw std::runtime_error("WebP encoder: bad version");
    picture.width = size_.x;
    picture.height = size_.y;
    picture.use_argb = 1;
    const bool imported =
        WebPPictureImportBGR(&picture, screen.data(), static_cast<int>(screen.stride()));
    const bool added =
        imported && WebPAnimEncoderAdd(encoder_, &picture, static_cast<int>(from_ms), &config_);
    WebPPictureFree(&picture);
    if (!added)
      throw std::runtime_error(std::string("WebP encoder: ") + WebPAnimEncoderGetError(encoder_));
    end_ms_ = until_ms;
    ++frames_;
  }
  int frames() const { return frames_; }
  void write(const std::string& path) {
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAdd(encoder_, nullptr, static_cast<int>(end_ms_), nullptr) ||
        !WebPAnimEncoderAssemble(encoder_, &data))
      throw std::runtime_error(std::string("WebP encoder: ") + WebPAnimEncoderGetError(encoder_));
    const std::vector<uint8_t> bytes(data.bytes, data.bytes + data.size);
    WebPDataClear(&data);
    save(path, bytes);
  }

 private:
  ss::Point size_;
  WebPConfig config_;
  WebPAnimEncoder* encoder_ = nullptr;
  uint64_t end_ms_ = 0;
  int frames_ = 0;
};

class PngSink {
 public:
  explicit PngSink(std::string folder) : folder_(std::move(folder)) {
    if (!ss::png_supported())
      throw std::runtime_error(
          "PNG frames need libpng, which this build of slidemake lacks; "
          "record to a .gif instead");
    fs::create_directories(folder_);
  }

  void add(const ss::Bitmap24& screen, uint64_t, uint64_t) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05d.png", frames_++);
    save(fs::path(folder_) / name, ss::encode_png(screen));
  }
  int frames() const { return frames_; }

 private:
  std::string folder_;
  int frames_ = 0;
};

// Runs the show for the given virtual time; returns the time it ran, shorter when it ended.
uint64_t run_show(const RecordOptions& o, const ScreenTimeline::Sink& sink) {
  ScratchFolder media;
  ss::HeadlessConfig config;
  config.screen_size = o.size;
  config.executable_path = fs::absolute(o.saver).string();
  config.temp_directory = media.folder();
  const auto limit_ms = static_cast<uint64_t>(o.seconds * 1000 + 0.5);
  config.run_limit_ms = limit_ms;
  ss::HeadlessPlatform platform(config);

  // A frame that cannot be written ends the recording; the error comes out afterwards.
  std::exception_ptr sink_error;
  ScreenTimeline timeline(o.size, [&](const ss::Bitmap24& screen, uint64_t from, uint64_t until) {
    if (sink_error) return;
    try {
      sink(screen, from, until);
    } catch (...) {
      sink_error = std::current_exception();
      platform.app().end_run();
    }
  });
  platform.set_frame_presented(
      [&](const ss::Bitmap24& screen) { timeline.presented(screen, platform.now_ms()); });
  ss::set_saver_mode(ss::smShow);
  uint64_t ran_ms = 0;
  {
    ss::TfrmScrn form(platform);
    platform.application().run();  // shows the form, then runs until the limit or its end
    ran_ms = std::min(platform.now_ms(), limit_ms);
    platform.set_frame_presented({});
  }
  timeline.finish(ran_ms);
  if (sink_error) std::rethrow_exception(sink_error);
  for (const std::string& error : platform.app().errors())
    std::fprintf(stderr, "warning: the show reported: %s\n", error.c_str());
  if (ran_ms < limit_ms)
    std::fprintf(stderr, "warning: the show ended by itself after %.1f s\n",
                 static_cast<double>(ran_ms) / 1000);
  return ran_ms;
}

}  // namespace

int run_record(const Args& args) {
  const std::optional<RecordOptions> parsed = parse_record_args(args);
  if (!parsed) return 0;
  const RecordOptions& o = *parsed;
  if (!fs::is_regular_file(o.saver)) throw std::runtime_error("no saver file \"" + o.saver + "\"");
  int frames = 0;
  uint64_t ran_ms = 0;
  if (o.kind == RecordOptions::Kind::kGif) {
    GifSink gif(o.size);
    ran_ms = run_show(
        o, [&](const ss::Bitmap24& s, uint64_t from, uint64_t until) { gif.add(s, from, until); });
    gif.write(o.output);
    frames = gif.frames();
  } else if (o.kind == RecordOptions::Kind::kWebp) {
    WebpSink webp(o.size);
    ran_ms = run_show(
        o, [&](const ss::Bitmap24& s, uint64_t from, uint64_t until) { webp.add(s, from, until); });
    webp.write(o.output);
    frames = webp.frames();
  } else {
    PngSink png(o.output);
    ran_ms = run_show(
        o, [&](const ss::Bitmap24& s, uint64_t from, uint64_t until) { png.add(s, from, until); });
    frames = png.frames();
  }
  std::printf("recorded %.1f s of %s: %d frames written to %s\n",
              static_cast<double>(ran_ms) / 1000, o.saver.c_str(), frames, o.output.c_str());
  return 0;
}

}  // namespace slidemake
