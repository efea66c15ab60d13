#pragma once
// The studio's web page (HTML, stylesheet, script), compiled into slidemake from tools/studio/.
#include <span>
#include <string_view>
#include <vector>

namespace slidemake {

struct EmbeddedFile {
  std::string_view name;
  std::span<const unsigned char> bytes;
};

const std::vector<EmbeddedFile>& embedded_files();

}  // namespace slidemake
