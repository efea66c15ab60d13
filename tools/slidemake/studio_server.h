#pragma once
// The studio's web server: the page, and the API the page works through. It listens on the
// loopback address only and answers only requests that pass the access policy.
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>

#include "picture_ingest.h"

namespace slidemake {

struct StudioOptions {
  std::filesystem::path folder;
  int port = 0;                          // 0: any free port
  std::filesystem::path slidemake_path;  // runtimes are looked for from here, as `build` does
  size_t max_picture_bytes = size_t{64} << 20;
  size_t max_media_bytes = size_t{256} << 20;
  size_t max_files_per_upload = 16;
  IngestOptions ingest;
};

class StudioServer {
 public:
  // Binds the port; throws when it cannot.
  explicit StudioServer(StudioOptions options);
  ~StudioServer();
  StudioServer(const StudioServer&) = delete;
  StudioServer& operator=(const StudioServer&) = delete;

  int port() const;
  const std::string& token() const;
  // The address to open, the token in it.
  std::string address() const;

  // Serves until stop(); stop() may come from any thread.
  void run();
  void stop();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace slidemake
