#pragma once
// Makes a saver: a copy of the runtime followed by the package built from a manifest.
#include <cstdint>
#include <optional>
#include <string>

#include "progress_bar.h"

#include "manifest.h"

namespace slidemake {

struct BuildResult {
  int64_t file_size = 0;
  int64_t package_start = 0;
  int64_t settings_offset = 0;
};

struct BuildOptions {
  IngestOptions pictures;
  std::optional<int> code_page;  // over the manifest's own; 1252 when neither names one
  Warn warn;                     // where warnings go; none: to the standard error
  ProgressBar::Listener progress;  // hears every block written; none: a bar on a terminal
};

// Writes the runtime, the pictures (the first at the package start), the music, the movies, the
// settings stream and the trailer. On any error nothing is left at `output_path`, and an output
// that would replace an input or a folder is refused before anything is read.
BuildResult build_saver(const Manifest& manifest, const std::string& runtime_path,
                        const std::string& output_path, const BuildOptions& options = {});

}  // namespace slidemake
