#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "commands.h"
#include "package_builder.h"
#include "platform/files.h"
#include "runtime_lookup.h"

namespace slidemake {
namespace {

constexpr const char* kBuildUsage =
    "usage: slidemake build MANIFEST.json -o SAVER [--target win32|win64|linux] [--runtime FILE]";

}  // namespace

int run_build(const Args& args) {
  std::string manifest_path, output, runtime;
  RuntimeTarget target = RuntimeTarget::kWin32;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool has_value = i + 1 < args.size();
    if ((args[i] == "-o" || args[i] == "--runtime") && has_value) {
      (args[i] == "-o" ? output : runtime) = args[i + 1];
      ++i;
    } else if (args[i] == "--target" && has_value) {
      const std::optional<RuntimeTarget> named = parse_runtime_target(args[i + 1]);
      if (!named)
        throw std::runtime_error("unknown target \"" + args[i + 1] + "\"; " + kBuildUsage);
      target = *named;
      ++i;
    } else if (manifest_path.empty() && !args[i].starts_with("-")) {
      manifest_path = args[i];
    } else {
      throw std::runtime_error("unexpected argument \"" + args[i] + "\"; " + kBuildUsage);
    }
  }
  if (manifest_path.empty() || output.empty()) throw std::runtime_error(kBuildUsage);
  const RuntimeChoice choice =
      find_runtime(target, runtime, ss::native_file_system().executable_path());
  std::printf("runtime: %s (%s)\n", choice.path.c_str(), choice.source.c_str());

  const Manifest manifest = load_manifest(manifest_path);
  const BuildResult r = build_saver(manifest, choice.path, output);
  std::printf("%s: %lld bytes, %zu pictures, %zu music files, %zu movies (package at %lld, settings at %lld)\n",
              output.c_str(), static_cast<long long>(r.file_size), manifest.pictures.size(),
              manifest.music.size(), manifest.movies.size(),
              static_cast<long long>(r.package_start), static_cast<long long>(r.settings_offset));
  return 0;
}

}  // namespace slidemake
