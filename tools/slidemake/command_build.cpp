#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "command_line.h"
#include "commands.h"
#include "package_builder.h"
#include "platform/files.h"
#include "runtime_lookup.h"

namespace slidemake {
namespace {

// "WxH" within the runtime's limits, or "none".
IngestOptions parse_max_size(const std::string& text, int quality) {
  IngestOptions options;
  options.quality = quality;
  if (text == "none") {
    options.max_width = options.max_height = 0;
    return options;
  }
  const size_t x = text.find_first_of("xX");
  try {
    size_t used_w = 0, used_h = 0;
    if (x == std::string::npos) throw std::invalid_argument(text);
    options.max_width = std::stoi(text.substr(0, x), &used_w);
    options.max_height = std::stoi(text.substr(x + 1), &used_h);
    if (used_w != x || used_h != text.size() - x - 1 || options.max_width < 1 ||
        options.max_height < 1)
      throw std::invalid_argument(text);
  } catch (const std::logic_error&) {
    throw std::runtime_error("--max-size \"" + text +
                             "\": write WIDTHxHEIGHT (e.g. 1920x1080) or none");
  }
  return options;
}

}  // namespace

int run_build(const Args& args) {
  CLI::App app("Make a saver from a manifest, or from a folder of pictures and music.",
               "slidemake build");
  std::string input, output, runtime, target_name = "win32", max_size = "3840x2160";
  int quality = 90;
  std::optional<int> code_page;
  app.add_option("MANIFEST", input, "the manifest (JSON), or a folder of pictures and music")
      ->required();
  app.add_option("-o", output, "the saver to write")->required();
  app.add_option("--target", target_name,
                 "the runtime to build on: win32 (default), win64 or linux");
  app.add_option("--runtime", runtime, "the runtime file to use instead of looking for one");
  app.add_option("--max-size", max_size,
                 "shrink larger pictures to fit WxH (default 3840x2160), or none");
  app.add_option("--quality", quality, "JPEG quality of converted pictures, 1 to 100 (default 90)")
      ->check(CLI::Range(1, 100));
  app.add_option("--codepage", code_page,
                 "ANSI code page of the saver's texts: 1250 to 1258, 874 or 932 (default 1252)");
  if (!parse_command(app, args)) return 0;

  const std::optional<RuntimeTarget> target = parse_runtime_target(target_name);
  if (!target)
    throw std::runtime_error("unknown target \"" + target_name + "\"; use win32, win64 or linux");
  BuildOptions options;
  options.pictures = parse_max_size(max_size, quality);
  options.code_page = code_page;
  options.warn = [](const std::string& message) {
    std::fprintf(stderr, "warning: %s\n", message.c_str());
  };

  const RuntimeChoice choice =
      find_runtime(*target, runtime, ss::native_file_system().executable_path());
  std::printf("runtime: %s (%s)\n", choice.path.c_str(), choice.source.c_str());

  std::error_code ec;
  const Manifest manifest = std::filesystem::is_directory(input, ec)
                                ? manifest_from_folder(input, options.warn)
                                : load_manifest(input, options.warn);
  check_manifest(manifest);
  const BuildResult r = build_saver(manifest, choice.path, output, options);
  std::printf(
      "%s: %lld bytes, %zu pictures, %zu music files, %zu movies (package at %lld, settings at "
      "%lld)\n",
      output.c_str(), static_cast<long long>(r.file_size), manifest.pictures.size(),
      manifest.music.size(), manifest.movies.size(), static_cast<long long>(r.package_start),
      static_cast<long long>(r.settings_offset));
  return 0;
}

}  // namespace slidemake
