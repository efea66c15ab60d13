#include "studio_builds.h"

#include "manifest.h"
#include "package/safe_file_name.h"
#include "package_builder.h"

namespace slidemake {
namespace {

// "pictures[2]: cannot open ..." names the field before the first ": ".
std::string field_of(const std::string& message) {
  const size_t colon = message.find(": ");
  if (colon == std::string::npos || message.find(' ') < colon) return {};
  return message.substr(0, colon);
}

const char* suffix_of(RuntimeTarget target) {
  switch (target) {
    case RuntimeTarget::kWin32:
      return "-win32.scr";
    case RuntimeTarget::kWin64:
      return "-win64.scr";
    case RuntimeTarget::kLinux:
      return "-linux";
  }
  return "";
}

}  // namespace

std::string saver_file_name(const std::string& title, RuntimeTarget target) {
  std::string stem;
  for (const char c : title) {
    const bool unsafe = static_cast<unsigned char>(c) < 32 ||
                        std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
    stem += unsafe ? '-' : c;
  }
  while (!stem.empty() && (stem.back() == ' ' || stem.back() == '.')) stem.pop_back();
  while (!stem.empty() && (stem.front() == ' ' || stem.front() == '.')) stem.erase(0, 1);
  if (stem.size() > 120) stem.resize(120);
  std::string name = stem + suffix_of(target);
  if (stem.empty() || !ss::is_safe_file_name(name))
    name = std::string("slidesaver") + suffix_of(target);
  return name;
}

StudioBuilds::~StudioBuilds() {
  for (std::thread& t : threads_) t.join();
}

int StudioBuilds::start(RuntimeTarget target) {
  std::lock_guard lock(mutex_);
  const int id = next_id_++;
  jobs_[id] = Job{};
  threads_.emplace_back([this, id, target] { run(id, target); });
  return id;
}

void StudioBuilds::update(int id, const std::function<void(Job&)>& change) {
  std::lock_guard lock(mutex_);
  change(jobs_[id]);
}

void StudioBuilds::run(int id, RuntimeTarget target) {
  try {
    const Manifest manifest = load_manifest(folder_.manifest_path().string());
    check_manifest(manifest);
    RuntimeChoice runtime;
    try {
      runtime = find_runtime(target, "", slidemake_path_);
    } catch (const std::exception& e) {
      throw StudioError(400, "target", e.what());
    }
    const std::filesystem::path output =
        folder_.saver_output_path(saver_file_name(manifest.settings.Title, target));
    BuildOptions options;
    options.warn = [&](const std::string& warning) { update(id, [&](Job& job) { job.warnings.push_back(warning); }); };
    options.progress = [&](int64_t done, int64_t total) {
      update(id, [&](Job& job) { job.done = done, job.total = total; });
    };
    const BuildResult result =
        build_saver(manifest, runtime.path, output.string(), options);
    const std::string name = output.filename().string();
    folder_.remember_saver(name);
    update(id, [&](Job& job) {
      job.state = "done";
      job.done = job.total;
      job.size = result.file_size;
      job.file = name;
    });
  } catch (const StudioError& e) {
    update(id, [&](Job& job) { job.state = "failed", job.error = e.what(), job.field = e.field; });
  } catch (const std::exception& e) {
    update(id, [&](Job& job) {
      job.state = "failed", job.error = e.what(), job.field = field_of(e.what());
    });
  }
}

nlohmann::json StudioBuilds::status(int id) const {
  std::lock_guard lock(mutex_);
  const auto it = jobs_.find(id);
  if (it == jobs_.end()) return nullptr;
  const Job& j = it->second;
  return {{"state", j.state}, {"done", j.done},   {"total", j.total}, {"file", j.file},
          {"size", j.size},   {"error", j.error}, {"field", j.field}, {"warnings", j.warnings}};
}

}  // namespace slidemake
