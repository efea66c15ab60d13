#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "command_line.h"
#include "commands.h"
#include "saver_contents.h"
#include "settings_json.h"

namespace slidemake {
namespace {

using nlohmann::ordered_json;

ordered_json items_json(const std::vector<ItemInfo>& items, bool pictures) {
  ordered_json out = ordered_json::array();
  for (const ItemInfo& item : items) {
    ordered_json j = {{"offset", item.offset}, {"size", item.size}, {"name", item.name}};
    if (pictures) {
      j["graphic"] = item.graphic;
      j["width"] = item.width;
      j["height"] = item.height;
    }
    out.push_back(std::move(j));
  }
  return out;
}

void print_items(const char* kind, const std::vector<ItemInfo>& items) {
  for (size_t i = 0; i < items.size(); ++i) {
    const ItemInfo& it = items[i];
    std::printf("  %-8s %4zu  %12lld  %10lld  ", kind, i, static_cast<long long>(it.offset),
                static_cast<long long>(it.size));
    if (!it.graphic.empty())
      std::printf("%-10s %5dx%-5d ", it.graphic.c_str(), it.width, it.height);
    else
      std::printf("%-22s ", "");
    std::printf("%s\n", it.name.c_str());
  }
}

void print_text(const SaverContents& c) {
  std::printf("%s: %lld bytes\n", c.path.c_str(), static_cast<long long>(c.file_size));
  std::printf("trailer: package length %d (package starts at %lld), settings at %d\n\n",
              c.package_length, static_cast<long long>(c.package_start), c.settings_offset);
  std::printf("settings:\n");
  const ordered_json settings = settings_to_json(c.settings);
  for (const auto& [name, value] : settings.items()) {
    const bool list = value.is_array();
    std::string text = value.is_string() ? value.get<std::string>() : value.dump();
    if (list && value.size() > 12)
      text = std::to_string(value.size()) + " elements: " + text.substr(0, 60) + "...";
    std::printf("  %-24s %s\n", name.c_str(), text.c_str());
  }
  std::printf("\nitems:\n  %-8s %4s  %12s  %10s  %-22s %s\n", "kind", "#", "offset", "size",
              "graphic", "name");
  print_items("picture", c.pictures);
  print_items("music", c.music);
  print_items("movie", c.movies);
  for (const std::string& w : c.warnings) std::printf("warning: %s\n", w.c_str());
}

}  // namespace

int run_inspect(const Args& args) {
  std::string path;
  bool json = false;
  for (const std::string& a : args) {
    if (a == "--json")
      json = true;
    else if (path.empty() && !a.starts_with("-"))
      path = a;
    else
      throw std::runtime_error("usage: slidemake inspect SAVER [--json]");
  }
  if (path.empty()) throw std::runtime_error("usage: slidemake inspect SAVER [--json]");
  // The saver keeps its texts in its code page; both reports print them in UTF-8.
  SaverContents c = read_saver_contents(path);
  decode_saver_texts(c);
  if (!json) {
    print_text(c);
    return 0;
  }
  ordered_json out;
  out["trailer"] = {{"length", c.package_length}, {"settings_offset", c.settings_offset}};
  out["settings"] = settings_to_json(c.settings);
  out["pictures"] = items_json(c.pictures, true);
  out["music"] = items_json(c.music, false);
  out["movies"] = items_json(c.movies, false);
  out["warnings"] = c.warnings;
  std::cout << out.dump(2) << '\n';
  return 0;
}

}  // namespace slidemake
