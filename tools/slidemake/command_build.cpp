#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "commands.h"
#include "package_builder.h"
#include "platform/files.h"

namespace slidemake {

std::string default_runtime_path() {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(ss::native_file_system().executable_path()).parent_path();
  for (const char* name : {"slidesaver", "slidesaver.scr", "slidesaver.exe"}) {
    const fs::path candidate = folder / name;
    if (fs::is_regular_file(candidate)) return candidate.string();
  }
  throw std::runtime_error("no runtime found beside slidemake in \"" + folder.string() +
                           "\"; give one with --runtime FILE");
}

int run_build(const Args& args) {
  std::string manifest_path, output, runtime;
  for (size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "-o" || args[i] == "--runtime") && i + 1 < args.size()) {
      (args[i] == "-o" ? output : runtime) = args[i + 1];
      ++i;
    } else if (manifest_path.empty() && !args[i].starts_with("-")) {
      manifest_path = args[i];
    } else {
      throw std::runtime_error("unexpected argument \"" + args[i] +
                               "\"; usage: slidemake build MANIFEST.json -o SAVER [--runtime FILE]");
    }
  }
  if (manifest_path.empty() || output.empty())
    throw std::runtime_error("usage: slidemake build MANIFEST.json -o SAVER [--runtime FILE]");
  if (runtime.empty()) runtime = default_runtime_path();

  const Manifest manifest = load_manifest(manifest_path);
  const BuildResult r = build_saver(manifest, runtime, output);
  std::printf("%s: %lld bytes, %zu pictures, %zu music files, %zu movies (package at %lld, settings at %lld)\n",
              output.c_str(), static_cast<long long>(r.file_size), manifest.pictures.size(),
              manifest.music.size(), manifest.movies.size(),
              static_cast<long long>(r.package_start), static_cast<long long>(r.settings_offset));
  return 0;
}

}  // namespace slidemake
