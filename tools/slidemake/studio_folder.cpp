#include "studio_folder.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>

#include "area_resample.h"
#include "atomic_output_file.h"
#include "base/text.h"
#include "common/jpeg_encoder.h"
#include "manifest.h"
#include "package/jpeg_graphic.h"
#include "package/safe_file_name.h"
#include "picture_file.h"
#include "settings_json.h"

namespace slidemake {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using nlohmann::ordered_json;

constexpr int kThumbnailBox = 320;
constexpr const char* kSaversList = "savers.txt";

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_atomically(const fs::path& path, std::span<const uint8_t> bytes) {
  AtomicOutputFile out(path.string());
  out.write(bytes);
  out.commit();
}

void write_atomically(const fs::path& path, const std::string& text) {
  write_atomically(path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

// "pictures[2].file: expected ..." names the field before the first ": ".
std::string field_of(const std::string& message) {
  const size_t colon = message.find(": ");
  return colon == std::string::npos ? std::string() : message.substr(0, colon);
}

// The settings the page edits: every setting but the location lists, which builds compute.
ordered_json editable_settings(const ss::TSSFileLocations& record) {
  ordered_json all = settings_to_json(record), out;
  for (const auto& [key, value] : all.items())
    if (!key.ends_with("CommaList")) out[key] = value;
  // The manifest gives style numbers as numbers.
  out["EffectCommaList"] = ordered_json::array();
  for (int32_t i = 0; i < record.EffectCommaList.count(); ++i)
    out["EffectCommaList"].push_back(record.EffectCommaList.integer(i));
  return out;
}

// A new folder starts with what most people want: a caption that can be read, five seconds a
// picture, and any key or mouse ending the show.
ss::TSSFileLocations studio_defaults() {
  ss::TSSFileLocations r;
  r.TextFont.Name = "Arial";
  r.TextFont.Height = -32;
  r.TextFont.Color = 0xFFFFFF;
  r.TextFont.Style = 1;  // bold
  r.Interval = 5000;
  r.SoundRandom = 1;
  r.lClearOldImage = true;
  r.lExitMouseMove = r.lExitMouseClick = r.lExitKeyPress = true;
  r.Ver = "photo";
  return r;
}

// A folder of photos without a manifest starts with its photos, in name order.
json pictures_in_folder(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string extension = ss::ascii_lower(entry.path().extension().string());
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && !name.starts_with(".") &&
        (extension == ".jpg" || extension == ".jpeg" || extension == ".png" || extension == ".bmp"))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  json out = json::array();
  for (const std::string& name : names) out.push_back({{"file", name}, {"description", ""}});
  return out;
}

ordered_json picture_entries(const json& root) {
  ordered_json out = ordered_json::array();
  if (!root.contains("pictures")) return out;
  for (const json& item : root["pictures"]) {
    if (item.is_string())
      out.push_back({{"file", item.get<std::string>()}, {"description", ""}});
    else
      out.push_back({{"file", item.at("file").get<std::string>()},
                     {"description", item.value("description", "")}});
  }
  return out;
}

ordered_json path_list(const json& root, const char* key) {
  ordered_json out = ordered_json::array();
  if (root.contains(key))
    for (const json& item : root[key]) out.push_back(item.get<std::string>());
  return out;
}

std::vector<uint8_t> read_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open \"" + path.string() + "\"");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool same_content(const fs::path& path, std::span<const uint8_t> bytes) {
  std::error_code error;
  if (fs::file_size(path, error) != bytes.size() || error) return false;
  const std::vector<uint8_t> existing = read_bytes(path);
  return std::equal(existing.begin(), existing.end(), bytes.begin(), bytes.end());
}

// "photo.jpg", then "photo-2.jpg", "photo-3.jpg" ...: the first name that is free or already
// holds exactly these bytes.
std::string free_name(const fs::path& folder, const std::string& wanted,
                      std::span<const uint8_t> bytes) {
  const fs::path stem = fs::path(wanted).stem(), extension = fs::path(wanted).extension();
  for (int n = 1;; ++n) {
    const std::string name =
        n == 1 ? wanted : stem.string() + "-" + std::to_string(n) + extension.string();
    std::error_code error;
    if (!fs::exists(folder / name, error) || same_content(folder / name, bytes)) return name;
  }
}

std::string temp_name() {
  std::random_device random;
  return "upload-" + std::to_string(random()) + ".tmp";
}

}  // namespace

std::string cache_key(const std::string& text) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
  char out[17];
  std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(hash));
  return out;
}

std::string file_identity(const fs::path& file) {
  std::error_code error;
  const auto size = fs::file_size(file, error);
  const auto time = fs::last_write_time(file, error).time_since_epoch().count();
  return fs::absolute(file).string() + "|" + std::to_string(size) + "|" + std::to_string(time);
}

StudioFolder::StudioFolder(fs::path folder) : folder_(fs::absolute(std::move(folder))) {
  if (!fs::is_directory(folder_))
    throw std::runtime_error("\"" + folder_.string() + "\" is not a folder");
  fs::create_directories(cache_path() / "thumbs");
  fs::create_directories(cache_path() / "previews");
}

json StudioFolder::load_document() const {
  std::lock_guard lock(mutex_);
  json root;
  if (!fs::exists(manifest_path())) {
    root = {{"pictures", pictures_in_folder(folder_)},
            {"music", json::array()},
            {"movies", json::array()},
            {"settings", editable_settings(studio_defaults())}};
    return root;
  }
  try {
    root = json::parse(read_text(manifest_path()));
  } catch (const json::parse_error& e) {
    throw StudioError(422, kManifestName,
                      std::string(kManifestName) + " is not valid JSON: " + e.what());
  }
  Manifest m;
  try {
    m = manifest_from_json(root, folder_);
  } catch (const std::exception& e) {
    throw StudioError(422, field_of(e.what()), std::string(kManifestName) + ": " + e.what());
  }
  ordered_json document;
  document["pictures"] = picture_entries(root);
  document["music"] = path_list(root, "music");
  document["movies"] = path_list(root, "movies");
  document["settings"] = editable_settings(m.settings);
  return json::parse(document.dump());
}

void StudioFolder::save_document(const json& document) {
  Manifest m;
  try {
    m = manifest_from_json(document, folder_);
  } catch (const std::exception& e) {
    throw StudioError(400, field_of(e.what()), e.what());
  }
  // Written in the order people read a manifest; a picture without a description is a path.
  ordered_json out;
  out["pictures"] = ordered_json::array();
  for (const ordered_json& entry : picture_entries(document)) {
    if (entry["description"].get<std::string>().empty())
      out["pictures"].push_back(entry["file"]);
    else
      out["pictures"].push_back(entry);
  }
  out["music"] = path_list(document, "music");
  out["movies"] = path_list(document, "movies");
  out["settings"] = editable_settings(m.settings);
  std::lock_guard lock(mutex_);
  write_atomically(manifest_path(), out.dump(2) + "\n");
}

void StudioFolder::check_upload_name(const std::string& name) {
  // The media extraction's rules, and no hidden names, which could reach the studio's cache.
  if (!ss::is_safe_file_name(name) || name.starts_with("."))
    throw StudioError(
        400, "upload",
        "\"" + ss::printable_name(name) + "\" cannot be used as a file name; rename the file");
}

StoredUpload StudioFolder::store_upload(UploadKind kind, const std::string& name,
                                        const std::string& bytes, const IngestOptions& ingest) {
  check_upload_name(name);
  StoredUpload stored;
  std::vector<uint8_t> content(bytes.begin(), bytes.end());
  std::string wanted = name;
  if (kind == UploadKind::kPicture) {
    // The ingestion reads files: the upload waits in the cache folder meanwhile, under the
    // original extension, which tells some formats apart.
    const fs::path temp = cache_path() / (temp_name() + fs::path(name).extension().string());
    write_atomically(temp, content);
    IngestedPicture picture;
    try {
      picture =
          ingest_picture(temp, ingest, [&](const std::string& w) { stored.warnings.push_back(w); });
    } catch (const std::exception& e) {
      fs::remove(temp);
      std::string message = e.what();
      // The message names the waiting file; the user knows the picture by its own name.
      for (size_t at; (at = message.find(temp.string())) != std::string::npos;)
        message.replace(at, temp.string().size(), name);
      throw StudioError(422, "upload", message);
    }
    fs::remove(temp);
    const std::string extension = fs::path(name).extension().string();
    const bool jpeg_name =
        extension == ".jpg" || extension == ".jpeg" || extension == ".JPG" || extension == ".JPEG";
    if (!picture.stored_as_is || !jpeg_name) wanted = fs::path(name).stem().string() + ".jpg";
    content = std::move(picture.jpeg);
    stored.width = picture.width;
    stored.height = picture.height;
  }
  std::lock_guard lock(mutex_);
  stored.file = free_name(folder_, wanted, content);
  if (!fs::exists(folder_ / stored.file)) write_atomically(folder_ / stored.file, content);
  return stored;
}

fs::path StudioFolder::listed_picture(const std::string& file) const {
  const json document = load_document();
  for (const json& entry : document["pictures"])
    if (entry["file"] == file) {
      const fs::path p(file);
      return (p.is_absolute() ? p : folder_ / p).lexically_normal();
    }
  throw StudioError(404, "", "\"" + file + "\" is not one of the saver's pictures");
}

std::vector<uint8_t> StudioFolder::thumbnail(const std::string& file) {
  const fs::path picture = listed_picture(file);
  const fs::path cached =
      cache_path() / "thumbs" /
      (cache_key(file_identity(picture) + "|" + std::to_string(kThumbnailBox)) + ".jpg");
  std::error_code error;
  if (fs::is_regular_file(cached, error)) return read_bytes(cached);
  std::vector<uint8_t> jpeg;
  try {
    jpeg = make_thumbnail(picture, kThumbnailBox);
  } catch (const StudioError&) {
    throw;
  } catch (const std::exception& e) {
    throw StudioError(422, "", e.what());
  }
  write_atomically(cached, jpeg);
  return jpeg;
}

std::vector<uint8_t> make_thumbnail(const fs::path& picture, int box) {
  const std::vector<uint8_t> bytes = read_bytes(picture);
  ss::Bitmap24 image;
  if (bytes.size() > 2 && bytes[0] == 0xFF && bytes[1] == 0xD8) {
    // Decoding at an eighth, a quarter or a half costs that share of the work.
    const ss::JpegHeader header = ss::read_jpeg_header(bytes);
    const int32_t longer = std::max(header.width, header.height);
    const int32_t w = static_cast<int32_t>(int64_t{header.width} * box / std::max(longer, 1));
    const int32_t h = static_cast<int32_t>(int64_t{header.height} * box / std::max(longer, 1));
    ss::decode_jpeg(bytes, ss::jpeg_scale_for(header.width, header.height, w, h), image);
  } else {
    image = load_picture_file(picture.string());
  }
  return ss::encode_jpeg(fit_within(image, box), 85);
}

std::vector<std::string> StudioFolder::made_savers() const {
  std::vector<std::string> names;
  std::istringstream lines(read_text(cache_path() / kSaversList));
  for (std::string line; std::getline(lines, line);)
    if (!line.empty()) names.push_back(line);
  return names;
}

bool StudioFolder::made_saver(const std::string& name) const {
  std::lock_guard lock(mutex_);
  for (const std::string& made : made_savers())
    if (made == name) return fs::is_regular_file(folder_ / name);
  return false;
}

fs::path StudioFolder::saver_output_path(const std::string& base_name) {
  std::lock_guard lock(mutex_);
  const std::vector<std::string> made = made_savers();
  const fs::path stem = fs::path(base_name).stem(), extension = fs::path(base_name).extension();
  for (int n = 1;; ++n) {
    const std::string name =
        n == 1 ? base_name : stem.string() + "-" + std::to_string(n) + extension.string();
    // A file the studio made before is rebuilt in place; anything else is left alone.
    if (!fs::exists(folder_ / name) || std::find(made.begin(), made.end(), name) != made.end())
      return folder_ / name;
  }
}

void StudioFolder::remember_saver(const std::string& name) {
  std::lock_guard lock(mutex_);
  std::vector<std::string> made = made_savers();
  if (std::find(made.begin(), made.end(), name) != made.end()) return;
  std::ofstream(cache_path() / kSaversList, std::ios::app) << name << "\n";
}

}  // namespace slidemake
