#include "runtime_lookup.h"

#include <stdexcept>

namespace slidemake {
namespace {

namespace fs = std::filesystem;

struct TargetFiles {
  const char* installed_name;  // beside slidemake
  const char* build_preset;    // build/<preset>/bin/...
  const char* built_name;
  const char* how_to_build;
};

TargetFiles files_of(RuntimeTarget target) {
  switch (target) {
    case RuntimeTarget::kWin32:
      return {"slidesaver-win32.scr", "win32", "slidesaver.scr", "make windows"};
    case RuntimeTarget::kWin64:
      return {"slidesaver-win64.scr", "win64", "slidesaver.scr", "make windows"};
    case RuntimeTarget::kLinux:
      return {"slidesaver", "linux", "slidesaver", "make build"};
  }
  return {"slidesaver-win32.scr", "win32", "slidesaver.scr", "make windows"};
}

}  // namespace

std::optional<RuntimeTarget> parse_runtime_target(std::string_view name) {
  if (name == "win32") return RuntimeTarget::kWin32;
  if (name == "win64") return RuntimeTarget::kWin64;
  if (name == "linux") return RuntimeTarget::kLinux;
  return std::nullopt;
}

std::vector<fs::path> runtime_candidates(RuntimeTarget target, const fs::path& slidemake_path) {
  const TargetFiles files = files_of(target);
  const fs::path bin = slidemake_path.parent_path();
  // slidemake sits in build/<its preset>/bin: two levels up is the build folder.
  const fs::path build = bin.parent_path().parent_path();
  std::vector<fs::path> candidates = {(bin / files.installed_name).lexically_normal()};
  // The Linux runtime beside a Linux slidemake is both at once: look once.
  const fs::path built = (build / files.build_preset / "bin" / files.built_name).lexically_normal();
  if (built != candidates.front()) candidates.push_back(built);
  return candidates;
}

RuntimeChoice find_runtime(RuntimeTarget target, const std::string& given,
                           const fs::path& slidemake_path) {
  if (!given.empty()) return {given, "given with --runtime"};
  const std::vector<fs::path> candidates = runtime_candidates(target, slidemake_path);
  const char* const sources[] = {"installed beside slidemake", "from the build tree"};
  for (size_t i = 0; i < candidates.size(); ++i) {
    std::error_code error;
    if (fs::is_regular_file(candidates[i], error)) return {candidates[i].string(), sources[i]};
  }
  std::string tried;
  for (const fs::path& candidate : candidates) tried += "\n  " + candidate.string();
  throw std::runtime_error("no runtime found; looked for" + tried + "\nbuild it with \"" +
                           files_of(target).how_to_build + "\" or give one with --runtime FILE");
}

}  // namespace slidemake
