// INI text from untrusted bytes: the look-ups the runtime makes, the integer conversion of the
// mute value, and the write of "mute". After the write, "mute" reads back as written and the
// language texts read as before.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "config/ini_file.h"

namespace {

constexpr std::string_view kLanguageKeys[] = {"Title", "Author",    "Email",      "Web",
                                              "btnOK", "MuteMusic", "DownloadSWF"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::optional<std::string> language[std::size(kLanguageKeys)];
  for (size_t k = 0; k < std::size(kLanguageKeys); ++k)
    language[k] = ss::find_profile_value(text, "Language", kLanguageKeys[k]);
  if (const auto mute = ss::find_profile_value(text, "Setup", "mute"))
    (void)ss::parse_profile_integer(*mute);

  const std::string written = ss::with_profile_value(text, "Setup", "mute", "1");
  if (ss::find_profile_value(written, "Setup", "mute") != std::optional<std::string>("1"))
    std::abort();
  for (size_t k = 0; k < std::size(kLanguageKeys); ++k)
    if (ss::find_profile_value(written, "Language", kLanguageKeys[k]) != language[k]) std::abort();
  return 0;
}
