#include "saver_contents.h"

#include <stdexcept>

#include "base/error.h"
#include "base/text.h"
#include "code_page.h"
#include "package/class_registry.h"
#include "package/property_stream_reader.h"
#include "package/safe_file_name.h"
#include "package/trailer.h"
#include "platform/files.h"

namespace slidemake {
namespace {

std::string at(const char* list, size_t i) {
  return std::string(list) + "[" + std::to_string(i) + "]";
}

// Takes the Picture.Data bytes of a picture stream as they are, without decoding them.
class RawPictureSink final : public ss::PropertySink {
 public:
  const ss::PropertyDecl* find(std::string_view name) const override {
    for (const ss::PropertyDecl& d : kDecls)
      if (ss::property_name_matches(d.name, name)) return &d;
    return nullptr;
  }
  void store(const ss::PropertyDecl& property, ss::PropertyValue&& value) override {
    if (property.type == ss::PropertyType::Binary)
      payload = std::get<std::vector<uint8_t>>(std::move(value));
  }
  std::vector<uint8_t> payload;

 private:
  static constexpr ss::PropertyDecl kDecls[] = {{"Left", ss::PropertyType::Integer},
                                                {"Top", ss::PropertyType::Integer},
                                                {"Width", ss::PropertyType::Integer},
                                                {"Height", ss::PropertyType::Integer},
                                                {"Picture.Data", ss::PropertyType::Binary}};
};

void read_picture(ss::ByteSource& file, ItemInfo& item, std::vector<std::string>& warnings,
                  size_t i) {
  try {
    file.seek(item.offset);
    ss::StreamRecord record = ss::read_stream_record(file);
    item.size = file.position() - item.offset;
    if (const auto* image = std::get_if<ss::TImage>(&record)) {
      if (const ss::Graphic* g = image->Picture.graphic()) {
        item.graphic = std::string(g->class_name());
        item.width = g->width();
        item.height = g->height();
      }
    } else {
      item.readable = false;
      warnings.push_back(at("pictures", i) + ": the stream at " + std::to_string(item.offset) +
                         " is not a picture record");
    }
  } catch (const ss::SaverError& e) {
    item.readable = false;
    warnings.push_back(at("pictures", i) + ": cannot be read at " + std::to_string(item.offset) +
                       ": " + e.what());
  }
}

void check_sisters(const char* name, const ss::CommaList& offsets, const char* sizes_name,
                   const ss::CommaList& sizes, const char* names_name, const ss::CommaList& names,
                   std::vector<std::string>& warnings) {
  if (sizes.count() != offsets.count())
    warnings.push_back(std::string(sizes_name) + " has " + std::to_string(sizes.count()) +
                       " elements but " + name + " has " + std::to_string(offsets.count()));
  if (names.count() != offsets.count())
    warnings.push_back(std::string(names_name) + " has " + std::to_string(names.count()) +
                       " elements but " + name + " has " + std::to_string(offsets.count()));
}

std::vector<ItemInfo> media_items(const char* kind, const ss::CommaList& offsets,
                                  const ss::CommaList& sizes, const ss::CommaList& names,
                                  const SaverContents& c, std::vector<std::string>& warnings) {
  std::vector<ItemInfo> out;
  for (int32_t i = 0; i < offsets.count(); ++i) {
    ItemInfo item;
    item.offset = offsets.integer(i);
    item.size = i < sizes.count() ? sizes.integer(i) : 0;
    item.name = i < names.count() ? names.text(i) : "";
    if (item.offset < c.package_start || item.size < 0 ||
        item.offset + item.size > c.settings_offset) {
      item.readable = false;
      warnings.push_back(at(kind, static_cast<size_t>(i)) + ": bytes " +
                         std::to_string(item.offset) + ".." +
                         std::to_string(item.offset + item.size) + " lie outside the package");
    }
    if (i < names.count() && !ss::is_safe_file_name(item.name))
      warnings.push_back(at(kind, static_cast<size_t>(i)) + ": the file name \"" +
                         ss::printable_name(item.name) +
                         "\" is unsafe: the saver refuses to extract it");
    out.push_back(std::move(item));
  }
  return out;
}

}  // namespace

SaverContents read_saver_contents(const std::string& path) {
  auto file = ss::native_file_system().open_read_deny_write(path);
  SaverContents c;
  c.path = path;
  c.file_size = file->size();
  const auto length = ss::read_package_length(*file);
  const auto settings_offset = ss::read_settings_offset(*file);
  if (!length || !settings_offset)
    throw std::runtime_error("\"" + path + "\" is too short to hold a package trailer");
  c.package_length = *length;
  c.settings_offset = *settings_offset;
  c.package_start = c.file_size - ss::kTrailerSize - c.package_length;
  if (c.package_start < 0 || c.package_start > c.file_size - ss::kTrailerSize)
    c.warnings.push_back("the trailer's package length " + std::to_string(c.package_length) +
                         " does not fit the file");
  try {
    file->seek(c.settings_offset);
    ss::read_stream_into(*file, c.settings);
  } catch (const ss::SaverError& e) {
    throw std::runtime_error("\"" + path + "\": the settings at offset " +
                             std::to_string(c.settings_offset) + " cannot be read: " + e.what());
  }

  const ss::TSSFileLocations& s = c.settings;
  for (int32_t i = 0; i < s.PicCommaList.count(); ++i) {
    ItemInfo item;
    item.offset = s.PicCommaList.integer(i);
    item.name = i < s.PicFileNamesCommaList.count() ? s.PicFileNamesCommaList.text(i) : "";
    if (item.offset < c.package_start || item.offset >= c.settings_offset) {
      item.readable = false;
      c.warnings.push_back(at("pictures", static_cast<size_t>(i)) + ": offset " +
                           std::to_string(item.offset) + " lies outside the package");
    } else {
      read_picture(*file, item, c.warnings, static_cast<size_t>(i));
    }
    c.pictures.push_back(std::move(item));
  }
  if (s.PicFileNamesCommaList.count() != s.PicCommaList.count())
    c.warnings.push_back(
        "PicFileNamesCommaList has " + std::to_string(s.PicFileNamesCommaList.count()) +
        " elements but PicCommaList has " + std::to_string(s.PicCommaList.count()));
  check_sisters("SndCommaList", s.SndCommaList, "SndSizesCommaList", s.SndSizesCommaList,
                "SndFileNamesCommaList", s.SndFileNamesCommaList, c.warnings);
  check_sisters("FlashCommaList", s.FlashCommaList, "FlashSizesCommaList", s.FlashSizesCommaList,
                "FlashFileNamesCommaList", s.FlashFileNamesCommaList, c.warnings);
  c.music = media_items("music", s.SndCommaList, s.SndSizesCommaList, s.SndFileNamesCommaList, c,
                        c.warnings);
  c.movies = media_items("movies", s.FlashCommaList, s.FlashSizesCommaList,
                         s.FlashFileNamesCommaList, c, c.warnings);
  return c;
}

RawPicture read_raw_picture(const std::string& path, int64_t offset) {
  auto file = ss::native_file_system().open_read_deny_write(path);
  file->seek(offset);
  RawPictureSink sink;
  ss::read_stream_into(*file, sink, "TImage");
  const std::vector<uint8_t>& p = sink.payload;
  if (p.empty() || p.size() < 1u + p[0]) throw std::runtime_error("the picture holds no graphic");
  RawPicture raw;
  raw.graphic_class.assign(reinterpret_cast<const char*>(p.data() + 1), p[0]);
  size_t at_data = 1u + p[0];
  // Icons run to the end of the payload; the other kinds carry a 4-byte length first.
  if (raw.graphic_class != "TIcon") {
    if (p.size() < at_data + 4) throw std::runtime_error("the picture's length is missing");
    uint32_t n = p[at_data] | (p[at_data + 1] << 8) | (p[at_data + 2] << 16) |
                 (static_cast<uint32_t>(p[at_data + 3]) << 24);
    at_data += 4;
    if (raw.graphic_class == "TMetafile") n = n >= 4 ? n - 4 : 0;
    if (n > p.size() - at_data) throw std::runtime_error(ss::kStreamReadError);
    raw.data.assign(p.begin() + static_cast<std::ptrdiff_t>(at_data),
                    p.begin() + static_cast<std::ptrdiff_t>(at_data + n));
  } else {
    raw.data.assign(p.begin() + static_cast<std::ptrdiff_t>(at_data), p.end());
  }
  return raw;
}

void decode_saver_texts(SaverContents& c) {
  const int code_page = ss::code_page_for_charset(c.settings.TextFont.Charset);
  decode_settings_texts(c.settings);
  for (auto* items : {&c.pictures, &c.music, &c.movies})
    for (ItemInfo& item : *items) item.name = code_page_to_utf8(item.name, code_page);
}

}  // namespace slidemake
