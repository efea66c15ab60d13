#pragma once
// Saver builds started from the page. Each runs on its own thread and reports its progress,
// and on failure the field or picture at fault, for the page to show beside it.
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "runtime_lookup.h"
#include "studio_folder.h"

namespace slidemake {

// The saver's file name from its title: "Title-win64.scr", "Title-linux".
std::string saver_file_name(const std::string& title, RuntimeTarget target);

class StudioBuilds {
 public:
  StudioBuilds(StudioFolder& folder, std::filesystem::path slidemake_path)
      : folder_(folder), slidemake_path_(std::move(slidemake_path)) {}
  ~StudioBuilds();  // waits for running builds
  StudioBuilds(const StudioBuilds&) = delete;
  StudioBuilds& operator=(const StudioBuilds&) = delete;

  int start(RuntimeTarget target);
  // {"state": "running"|"done"|"failed", "done", "total", "file", "size", "error", "field",
  // "warnings"};
  // null for an unknown id.
  nlohmann::json status(int id) const;

 private:
  struct Job {
    std::string state = "running";
    int64_t done = 0, total = 0, size = 0;
    std::string file, error, field;
    std::vector<std::string> warnings;
  };
  void run(int id, RuntimeTarget target);
  void update(int id, const std::function<void(Job&)>& change);

  StudioFolder& folder_;
  std::filesystem::path slidemake_path_;
  mutable std::mutex mutex_;
  std::map<int, Job> jobs_;
  std::vector<std::thread> threads_;
  int next_id_ = 1;
};

}  // namespace slidemake
