#pragma once
// Writes a file under a temporary name and renames it into place only when complete, so that a
// failed build never leaves a partial saver behind.
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace slidemake {

class AtomicOutputFile {
 public:
  explicit AtomicOutputFile(std::string path);
  ~AtomicOutputFile();  // removes the temporary file unless commit() succeeded
  AtomicOutputFile(const AtomicOutputFile&) = delete;
  AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

  void write(std::span<const uint8_t> bytes);
  int64_t position() const { return position_; }
  // Flushes, closes and renames into place; copies the executable bit from `mode_from` if given.
  void commit(const std::string& mode_from = {});

 private:
  std::string path_;
  std::string temp_path_;
  std::FILE* file_ = nullptr;
  int64_t position_ = 0;
  bool committed_ = false;
};

}  // namespace slidemake
