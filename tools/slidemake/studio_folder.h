#pragma once
// The studio's working folder: its slidesaver.json (the manifest `slidemake build` reads), the
// files uploaded into it, and the studio's own cache in ".studio" (thumbnails, previews, the
// list of savers it made). Safe to use from several request threads at once.
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "picture_ingest.h"

namespace slidemake {

inline constexpr const char* kManifestName = "slidesaver.json";

// A request the user can fix: the status to answer with, and the field or file at fault.
struct StudioError : std::runtime_error {
  StudioError(int status_code, std::string field_name, const std::string& message)
      : std::runtime_error(message), status(status_code), field(std::move(field_name)) {}
  int status;
  std::string field;
};

enum class UploadKind { kPicture, kMusic, kMovie };

struct StoredUpload {
  std::string file;  // the name in the folder, as the manifest refers to it
  int width = 0, height = 0;
  std::vector<std::string> warnings;
};

class StudioFolder {
 public:
  explicit StudioFolder(std::filesystem::path folder);

  const std::filesystem::path& path() const { return folder_; }
  std::filesystem::path manifest_path() const { return folder_ / kManifestName; }
  std::filesystem::path cache_path() const { return folder_ / ".studio"; }

  // The manifest as the page edits it: every picture as {file, description}, every setting
  // present. A folder without one gets the studio's defaults. Throws StudioError (field named)
  // when the file on disk is not a valid manifest.
  nlohmann::json load_document() const;
  // Checks the document exactly as `slidemake build` would and writes it in place.
  void save_document(const nlohmann::json& document);

  // Throws StudioError 400 unless the name is one plain, safe file name for the folder.
  static void check_upload_name(const std::string& name);
  // Stores an upload under its own name (or a free variant of it); never outside the folder and
  // never over a file that holds something else. Pictures go through the photo ingestion.
  StoredUpload store_upload(UploadKind kind, const std::string& name, const std::string& bytes,
                            const IngestOptions& ingest);

  // The resolved path of a picture the manifest lists; StudioError 404 for any other name.
  std::filesystem::path listed_picture(const std::string& file) const;

  // A small JPEG of a listed picture, decoded at a reduced DCT scale, cached in the folder.
  std::vector<uint8_t> thumbnail(const std::string& file);

  // Savers the studio wrote into the folder: only these are ever served.
  std::filesystem::path saver_output_path(const std::string& base_name);
  void remember_saver(const std::string& name);
  bool made_saver(const std::string& name) const;

 private:
  std::vector<std::string> made_savers() const;

  std::filesystem::path folder_;
  mutable std::mutex mutex_;
};

// The thumbnail of a picture file at most `box` pixels on its longer side, as JPEG.
std::vector<uint8_t> make_thumbnail(const std::filesystem::path& picture, int box);

// A content key for cache file names: FNV-1a of the text, as 16 hex digits.
std::string cache_key(const std::string& text);
// The path, size and modification time of a file, for cache keys.
std::string file_identity(const std::filesystem::path& file);

}  // namespace slidemake
