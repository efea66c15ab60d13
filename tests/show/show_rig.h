#pragma once
// A saver built in a scratch folder and a show form run on the headless platform.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gfx/bitmap24.h"
#include "package/ss_file_locations.h"
#include "platform/headless/headless_platform.h"
#include "show/show_form.h"

namespace ss::show_test {

// A picture item: the payload a package stores (graphic class name and data).
struct PictureItem {
  std::vector<uint8_t> payload;
  int32_t width = 0;
  int32_t height = 0;
};

Bitmap24 solid(int32_t w, int32_t h, Color c);
PictureItem bmp_picture(const Bitmap24& image);
PictureItem jpeg_picture(const Bitmap24& image);

struct MediaItem {
  std::string name;
  std::string bytes;
};

struct SaverContents {
  std::vector<PictureItem> pictures;
  std::vector<MediaItem> music;
  std::vector<MediaItem> movies;
  // Everything but the location lists, which the build fills in.
  TSSFileLocations settings;
  // Runs on the settings once the build has filled in the location lists.
  std::function<void(TSSFileLocations&)> edit_lists;
  // Points the trailer's settings field elsewhere when set.
  std::optional<int64_t> settings_offset_override;
};

// Settings of a "photo" saver that exits on nothing and draws nothing at random.
TSSFileLocations quiet_settings(const std::string& kind = "photo");

class ShowRig {
 public:
  // Resets the process-wide state a show leaves behind: the generator, the mode, the grace.
  ShowRig();
  ~ShowRig();
  ShowRig(const ShowRig&) = delete;
  ShowRig& operator=(const ShowRig&) = delete;

  // Writes the saver file; returns the offsets the pictures were written at.
  std::vector<int64_t> build(const SaverContents& contents);
  // A headless machine running this saver from the scratch folder, on a small screen.
  HeadlessConfig config(Point screen = {64, 48}) const;

  // Makes the platform and the form (not yet shown).
  void start(HeadlessConfig config);
  HeadlessPlatform& platform() { return *platform_; }
  TfrmScrn& form() { return *form_; }
  CallLog& log() { return platform_->log(); }
  // Runs the application for at most max_ms of virtual time; the first run shows the form.
  void run_for(uint64_t max_ms);
  // Destroys the form (its FormDestroy runs).
  void destroy_form() { form_.reset(); }

  std::string saver_path() const { return (root_ / "saver.scr").string(); }
  std::string temp_dir() const { return (root_ / "tmp").string() + "/"; }
  std::string exe_dir() const { return root_.string() + "/"; }
  bool temp_file_exists(const std::string& name) const;
  // The show's own folder of media copies in the temporary directory (ending with '/'), or
  // nothing while there is none.
  std::optional<std::string> media_dir() const;
  void write_temp(const std::string& name, const std::string& text) const;
  std::string read_temp(const std::string& name) const;
  void write_beside_exe(const std::string& name, const std::string& text) const;

 private:
  std::filesystem::path root_;
  std::unique_ptr<HeadlessPlatform> platform_;
  std::unique_ptr<TfrmScrn> form_;
  bool ran_ = false;
};

// The entries of the log that begin with prefix, in order.
std::vector<std::string> entries(const CallLog& log, const std::string& prefix);

}  // namespace ss::show_test
