#include "hostile_cases.h"

#include <cstring>

#include "package/trailer.h"

namespace hostile {
namespace {

constexpr int kDeepNesting = 100'000;
constexpr const char* kInvalidStream = "error:Invalid stream format";
constexpr const char* kStreamReadError = "error:Stream read error";

// A 20-byte trailer field holding exactly `text`, padded with `pad`.
std::string field(const std::string& text, char pad = ' ') {
  std::string f = text.substr(0, ss::kTrailerFieldSize);
  f.resize(ss::kTrailerFieldSize, pad);
  return f;
}

Bytes built(const SaverPlan& plan) {
  return build(plan).bytes;
}

Bytes cut(const Bytes& bytes, int64_t length) {
  return Bytes(bytes.begin(), bytes.begin() + length);
}

// The base saver with one settings edit.
Bytes edited(const std::function<void(ss::TSSFileLocations&)>& edit) {
  SaverPlan plan = base_plan();
  plan.edit_settings = edit;
  return built(plan);
}

Bytes with_music_name(const std::string& name) {
  SaverPlan plan = base_plan();
  plan.music[0].name = name;
  return built(plan);
}

Bytes u32(uint32_t v) {
  return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 24)};
}

void add_truncations(std::vector<HostileCase>& cases) {
  const BuiltSaver whole = build(base_plan());
  const Regions& r = whole.regions;
  // Cut anywhere before the trailer's end, the last 40 bytes are no trailer: the fields read as
  // 0 and the settings reader meets the runtime's first bytes.
  struct Cut {
    const char* name;
    const char* where;
    int64_t length;
  };
  const Cut at_boundary[] = {
      {"runtime", "the runtime image", r.runtime_end},
      {"picture0", "the first picture", r.picture_ends[0]},
      {"picture1", "the second picture", r.picture_ends[1]},
      {"music", "the music item", r.music_ends[0]},
      {"half_settings", "half of the settings", (r.settings_start + r.settings_end) / 2},
      {"settings", "the settings", r.settings_end},
  };
  for (const Cut& c : at_boundary)
    cases.push_back({std::string("truncated_after_") + c.name,
                     std::string("the file cut after ") + c.where, cut(whole.bytes, c.length),
                     kInvalidStream, "terminates", 0, "error:Invalid stream format"});
  // The show reads field 1 first and gives up; the setup dialog reads only field 2, which a
  // file of 30 bytes still holds.
  cases.push_back({"truncated_to_15_bytes", "shorter than one trailer field", cut(whole.bytes, 15),
                   "error:too short", "quiet", 0, "unfilled"});
  cases.push_back({"truncated_to_30_bytes", "shorter than a trailer, longer than a field",
                   cut(whole.bytes, 30), "error:too short", "quiet", 0,
                   "error:Invalid stream format"});
  // Without its last byte, field 2 is the last space of field 1 and 19 bytes of field 2: the
  // blanks around the digits are dropped, so the settings are still found.
  cases.push_back({"truncated_by_one_byte", "the trailer's last padding byte missing",
                   cut(whole.bytes, r.file_end - 1), "ok", "shows", 1, "title"});
  // Without field 2, field 1 (the package length) is taken for the settings offset.
  cases.push_back({"truncated_field2", "the trailer's second field missing",
                   cut(whole.bytes, r.file_end - ss::kTrailerFieldSize), kInvalidStream,
                   "terminates", 0, "error:Invalid stream format"});
}

void add_trailer_cases(std::vector<HostileCase>& cases) {
  auto with_fields = [](std::function<std::string(int64_t)> f1,
                        std::function<std::string(int64_t)> f2) {
    SaverPlan plan = base_plan();
    plan.field1 = std::move(f1);
    plan.field2 = std::move(f2);
    return built(plan);
  };
  auto plain = [](int64_t v) { return field(std::to_string(v)); };
  cases.push_back({"trailer_leading_spaces", "both fields right-aligned with leading spaces",
                   with_fields([](int64_t v) { return field("      " + std::to_string(v)); },
                               [](int64_t v) { return field("   " + std::to_string(v)); }),
                   "ok", "shows", 1, "title"});
  cases.push_back({"trailer_nul_padding", "both fields padded with NUL bytes",
                   with_fields([](int64_t v) { return field(std::to_string(v), '\0'); },
                               [](int64_t v) { return field(std::to_string(v), '\0'); }),
                   "ok", "shows", 1, "title"});
  cases.push_back(
      {"trailer_tab_and_nul_around", "a tab before and NULs after the digits",
       with_fields(plain, [](int64_t v) { return field("\t" + std::to_string(v), '\0'); }), "ok",
       "shows", 1, "title"});
  cases.push_back({"trailer_junk_in_field2", "a letter among the settings offset's digits",
                   with_fields(plain, [](int64_t v) { return field(std::to_string(v) + "x"); }),
                   kInvalidStream, "terminates", 0, "error:Invalid stream format"});
  cases.push_back({"trailer_inner_space", "a space between the digits of the settings offset",
                   with_fields(plain,
                               [](int64_t v) {
                                 std::string digits = std::to_string(v);
                                 return field(digits.substr(0, 1) + " " + digits.substr(1));
                               }),
                   kInvalidStream, "terminates", 0, "error:Invalid stream format"});
  // A negative offset is read from the file's first byte, like any offset that is not one.
  cases.push_back({"trailer_negative_settings_offset", "field 2 with a minus sign",
                   with_fields(plain, [](int64_t v) { return field("-" + std::to_string(v)); }),
                   kInvalidStream, "terminates", 0, "error:Invalid stream format"});
  cases.push_back({"trailer_negative_package_length", "field 1 with a minus sign",
                   with_fields([](int64_t v) { return field("-" + std::to_string(v)); }, plain),
                   "warn:does not fit", "shows", 1, "title"});
  cases.push_back({"trailer_overflowing_offset", "a settings offset beyond 32 bits",
                   with_fields(plain, [](int64_t) { return field("99999999999999999999"); }),
                   kInvalidStream, "terminates", 0, "error:Invalid stream format"});
  cases.push_back({"trailer_offset_past_end", "a settings offset past the end of the file",
                   with_fields(plain, [](int64_t v) { return field(std::to_string(v + 100000)); }),
                   kStreamReadError, "terminates", 0, "error:Stream read error"});
  // Field 2 pointing at field 1: the reader meets decimal digits, not "TPF0".
  BuiltSaver saver = build(base_plan());
  const std::string into_trailer = field(std::to_string(saver.regions.settings_end));
  std::memcpy(saver.bytes.data() + saver.regions.file_end - ss::kTrailerFieldSize,
              into_trailer.data(), into_trailer.size());
  cases.push_back({"trailer_offset_into_trailer", "a settings offset inside the trailer itself",
                   saver.bytes, kInvalidStream, "terminates", 0, "error:Invalid stream format"});
}

void add_offset_cases(std::vector<HostileCase>& cases) {
  cases.push_back({"picture_offset_past_end", "the first picture's offset past the end",
                   edited([](ss::TSSFileLocations& s) { s.PicCommaList.items()[0] = "9999999"; }),
                   "warn:outside the package", "error:Stream read error", 1, "title"});
  cases.push_back({"picture_offset_negative", "the first picture's offset below zero",
                   edited([](ss::TSSFileLocations& s) { s.PicCommaList.items()[0] = "-40"; }),
                   "warn:outside the package", "error:Invalid stream format", 1, "title"});
  cases.push_back({"picture_offset_not_a_number", "the first picture's offset is a word",
                   edited([](ss::TSSFileLocations& s) { s.PicCommaList.items()[0] = "first"; }),
                   "warn:outside the package", "error:Invalid stream format", 1, "title"});
  cases.push_back({"picture_points_at_music", "the first picture's offset is the music item's",
                   edited([](ss::TSSFileLocations& s) {
                     s.PicCommaList.items()[0] = s.SndCommaList.items()[0];
                   }),
                   "warn:cannot be read", "error:Invalid stream format", 1, "title"});
  cases.push_back({"music_offset_past_end", "the music item's offset past the end",
                   edited([](ss::TSSFileLocations& s) { s.SndCommaList.items()[0] = "9999999"; }),
                   "warn:outside the package", "error:Stream read error", 0, "title"});
  cases.push_back({"music_offset_negative", "the music item's offset below zero",
                   edited([](ss::TSSFileLocations& s) { s.SndCommaList.items()[0] = "-1"; }),
                   "warn:outside the package", "error:Negative media offset -1 for \"song.mid\"", 0,
                   "title"});
  cases.push_back({"music_length_negative", "the music item's length below zero",
                   edited([](ss::TSSFileLocations& s) { s.SndSizesCommaList.items()[0] = "-5"; }),
                   "warn:outside the package", "error:Negative media length -5 for \"song.mid\"", 0,
                   "title"});
  cases.push_back(
      {"music_length_huge", "the music item's length is 2 GiB - 1",
       edited([](ss::TSSFileLocations& s) { s.SndSizesCommaList.items()[0] = "2147483647"; }),
       "warn:outside the package", "error:Stream read error", 0, "title"});
  cases.push_back(
      {"music_length_beyond_32_bits", "the music item's length is 4 GiB (reads as 0)",
       edited([](ss::TSSFileLocations& s) { s.SndSizesCommaList.items()[0] = "4294967296"; }), "ok",
       "shows", 1, "title"});

  // Picture.Data claims 4 GiB - 1 bytes; the file holds a few hundred.
  SaverPlan plan = base_plan();
  Bytes& stream = plan.pictures[0];
  const int64_t length_at = find(stream, "Picture.Data") + 13;  // name, then tag 10
  const Bytes huge = u32(0xFFFFFFFF);
  std::copy(huge.begin(), huge.end(), stream.begin() + length_at);
  cases.push_back({"picture_data_4gib", "Picture.Data with a length of 4 GiB - 1", built(plan),
                   "warn:cannot be read",
                   "error:Error reading TImage.Picture.Data: Stream read error", 1, "title"});
  // The bitmap inside the payload claims 4 GiB - 1 bytes.
  plan = base_plan();
  Bytes& inner = plan.pictures[0];
  const int64_t bitmap_length_at = find(inner, "TBitmap") + 7;
  std::copy(huge.begin(), huge.end(), inner.begin() + bitmap_length_at);
  cases.push_back({"bitmap_length_4gib", "the bitmap inside Picture.Data claims 4 GiB - 1 bytes",
                   built(plan), "warn:cannot be read",
                   "error:Error reading TImage.Picture.Data: Stream read error", 1, "title"});
  // A long text in the settings claims 4 GiB - 1 bytes.
  plan = base_plan();
  plan.edit_settings_stream = [huge](Bytes s) {
    // Sized first: GCC 12 takes an insert after a braced list for an overflow.
    Bytes value(1 + huge.size());
    value[0] = 12;
    std::copy(huge.begin(), huge.end(), value.begin() + 1);
    return with_property(std::move(s), "Web", value);
  };
  cases.push_back({"settings_text_4gib", "a long text in the settings claims 4 GiB - 1 bytes",
                   built(plan), kStreamReadError, "terminates", 0,
                   "error:Error reading TSSFileLocations.Web: Stream read error"});
}

void add_sister_list_cases(std::vector<HostileCase>& cases) {
  auto second_music = [](ss::TSSFileLocations& s) {
    s.SndCommaList.items().push_back(s.SndCommaList.items()[0]);
  };
  cases.push_back(
      {"music_sizes_shorter", "two music offsets, one size", edited([&](ss::TSSFileLocations& s) {
         second_music(s);
         s.SndFileNamesCommaList.items().push_back("again.mid");
       }),
       "warn:SndSizesCommaList has 1 elements", "error:Index is out of bounds", 0, "title"});
  cases.push_back(
      {"music_names_shorter", "two music offsets, one name", edited([&](ss::TSSFileLocations& s) {
         second_music(s);
         s.SndSizesCommaList.items().push_back("100");
       }),
       "warn:SndFileNamesCommaList has 1 elements", "error:Index is out of bounds", 0, "title"});
  cases.push_back({"music_sizes_longer", "one music offset, three sizes and names",
                   edited([](ss::TSSFileLocations& s) {
                     s.SndSizesCommaList.set_comma_text("100,5,6");
                     s.SndFileNamesCommaList.set_comma_text("song.mid,b.mid,c.mid");
                   }),
                   "warn:SndSizesCommaList has 3 elements", "shows", 1, "title"});
  cases.push_back({"movie_sizes_shorter", "a flash saver with a movie offset and no size",
                   edited([](ss::TSSFileLocations& s) {
                     s.FlashCommaList = s.SndCommaList;
                     s.FlashFileNamesCommaList.set_comma_text("movie.swf");
                   }),
                   "warn:FlashSizesCommaList has 0 elements", "error:Index is out of bounds", 0,
                   "title"});
  cases.push_back({"picture_names_shorter", "two pictures, no picture names",
                   edited([](ss::TSSFileLocations& s) { s.PicFileNamesCommaList.items().clear(); }),
                   "ok", "shows", 1, "title"});
}

// Control bytes appear in messages as \xNN.
std::string printable(const std::string& name) {
  std::string shown;
  for (char c : name) {
    if (static_cast<unsigned char>(c) >= 32) {
      shown += c;
    } else {
      static constexpr char kHex[] = "0123456789ABCDEF";
      shown += std::string("\\x") + kHex[(c >> 4) & 15] + kHex[c & 15];
    }
  }
  return shown;
}

void add_name_cases(std::vector<HostileCase>& cases) {
  const std::pair<std::string, std::string> names[] = {
      {"dotdot_backslash", "..\\..\\evil.mid"},
      {"dotdot_slash", "../../evil.mid"},
      {"absolute", "/tmp/evil.mid"},
      {"drive_relative", "C:evil.mid"},
      {"drive_absolute", "C:\\evil.mid"},
      {"unc", "\\\\server\\share\\evil.mid"},
      {"device", "CON"},
      {"device_with_extension", "nul.mid"},
      {"com_port", "com1.wav"},
      {"alternate_stream", "song.mid:evil"},
      {"trailing_dot", "song.mid."},
      {"control_character", "song\x01.mid"},
      {"dot", "."},
      {"empty", ""},
  };
  for (const auto& [what, name] : names)
    cases.push_back({"name_" + what, "a music file name that leaves the folder or names a device",
                     with_music_name(name), "warn:is unsafe",
                     "error:Unsafe media file name \"" + printable(name) + "\"", 0, "title"});
  cases.push_back({"name_300_characters", "a music file name of 300 characters",
                   with_music_name(std::string(296, 'a') + ".mid"), "warn:is unsafe",
                   "error:Unsafe media file name", 0, "title"});
}

void add_settings_cases(std::vector<HostileCase>& cases) {
  auto stream_edit = [](std::function<Bytes(Bytes)> edit) {
    SaverPlan plan = base_plan();
    plan.edit_settings_stream = std::move(edit);
    return built(plan);
  };
  cases.push_back({"settings_unknown_property", "a property the settings record does not have",
                   stream_edit([](Bytes s) {
                     return with_property(std::move(s), "Bogus", {2, 7});
                   }),
                   "error:Property Bogus does not exist", "terminates", 0,
                   "error:Error reading TSSFileLocations.Bogus: Property Bogus does not exist"});
  cases.push_back({"settings_bad_colour", "a colour identifier outside the table",
                   stream_edit([](Bytes s) {
                     const std::string ident = "clNotAColour";
                     Bytes value(2 + ident.size());
                     value[0] = 7;
                     value[1] = static_cast<uint8_t>(ident.size());
                     std::copy(ident.begin(), ident.end(), value.begin() + 2);
                     return with_property(std::move(s), "TextFont.Color", value);
                   }),
                   "error:Invalid property value", "terminates", 0,
                   "error:Error reading TSSFileLocations.TextFont.Color: Invalid property value"});
  cases.push_back({"settings_integer_as_list", "a list where Interval's integer belongs",
                   stream_edit([](Bytes s) {
                     return with_property(std::move(s), "Interval", nested_lists(3));
                   }),
                   "error:Invalid property value", "terminates", 0,
                   "error:Error reading TSSFileLocations.Interval: Invalid property value"});
  cases.push_back({"settings_deep_lists", "an unknown property holding lists 100,000 deep",
                   stream_edit([](Bytes s) {
                     return with_property(std::move(s), "Deep", nested_lists(kDeepNesting));
                   }),
                   "error:Property Deep does not exist", "terminates", 0,
                   "error:Error reading TSSFileLocations.Deep: Property Deep does not exist"});
  cases.push_back(
      {"settings_deep_collections",
       "an unknown property holding lists and collections 100,000 deep", stream_edit([](Bytes s) {
         return with_property(std::move(s), "Deep", nested_lists_and_collections(kDeepNesting));
       }),
       "error:Property Deep does not exist", "terminates", 0,
       "error:Error reading TSSFileLocations.Deep: Property Deep does not exist"});
  cases.push_back({"settings_deep_children", "child objects nested 100,000 deep after the settings",
                   stream_edit([](Bytes s) {
                     return with_children(std::move(s), nested_children(kDeepNesting));
                   }),
                   "ok", "shows", 1, "title"});
  SaverPlan plan = base_plan();
  plan.pictures[0] = with_property(plan.pictures[0], "Deep", nested_lists(kDeepNesting));
  cases.push_back({"picture_deep_lists", "a picture stream with lists 100,000 deep", built(plan),
                   "warn:Property Deep does not exist",
                   "error:Error reading TImage.Deep: Property Deep does not exist", 1, "title"});
}

}  // namespace

std::vector<HostileCase> hostile_cases() {
  std::vector<HostileCase> cases;
  add_truncations(cases);
  add_trailer_cases(cases);
  add_offset_cases(cases);
  add_sister_list_cases(cases);
  add_name_cases(cases);
  add_settings_cases(cases);
  return cases;
}

}  // namespace hostile
