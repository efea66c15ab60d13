#pragma once
// What the studio shows before a saver is built: the gallery of styles played on two of the
// user's own pictures, and a recorded run of the first slides.
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "gfx/bitmap24.h"
#include "studio_folder.h"

namespace slidemake {

inline constexpr int kGalleryWidth = 240;
inline constexpr int kGalleryHeight = 135;

class StudioPreviews {
 public:
  explicit StudioPreviews(StudioFolder& folder) : folder_(folder) {}

  // Names the two pictures the gallery plays (the first two of the saver, or drawn samples
  // while it has fewer); the key changes whenever they do.
  std::string gallery_key() const;
  // The GIF of one style (1..127), cached in the folder under the gallery key.
  std::vector<uint8_t> style_gif(int style);

  // Builds the saved manifest into a scratch saver, runs its show on the headless backend for
  // the first slides at width × height and returns the recording's file name.
  std::string record_play(int width, int height);
  // A recording made by record_play; StudioError 404 for any other name.
  std::filesystem::path recording(const std::string& name) const;

 private:
  struct Pair {
    ss::Bitmap24 old_image, new_image;
  };
  std::vector<std::filesystem::path> gallery_sources() const;
  std::shared_ptr<const Pair> gallery_pair(const std::string& key,
                                           const std::vector<std::filesystem::path>& sources);

  StudioFolder& folder_;
  std::mutex pairs_mutex_;
  std::map<std::string, std::shared_ptr<const Pair>> pairs_;
  std::mutex play_mutex_;
};

}  // namespace slidemake
