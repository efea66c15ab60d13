#pragma once
// Which runtime `slidemake build` copies into a saver. In order: the file given with --runtime;
// the runtime installed beside slidemake (slidesaver-win32.scr, slidesaver-win64.scr or
// slidesaver); the runtime in the build tree slidemake itself was built in, found from
// slidemake's own path (build/linux/bin/slidemake next to build/win32/bin/slidesaver.scr).
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace slidemake {

enum class RuntimeTarget { kWin32, kWin64, kLinux };

// "win32", "win64" or "linux"; nothing for any other text.
std::optional<RuntimeTarget> parse_runtime_target(std::string_view name);

struct RuntimeChoice {
  std::string path;
  std::string source;  // how it was found, for the command's output
};

// The places looked at without --runtime, in the order they are tried.
std::vector<std::filesystem::path> runtime_candidates(RuntimeTarget target,
                                                      const std::filesystem::path& slidemake_path);

// Throws std::runtime_error naming every place tried and how to build the runtime when none
// holds a file. A given runtime is taken as it is; the build reports when it cannot be read.
RuntimeChoice find_runtime(RuntimeTarget target, const std::string& given,
                           const std::filesystem::path& slidemake_path);

}  // namespace slidemake
