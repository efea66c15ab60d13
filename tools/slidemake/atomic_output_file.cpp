#include "atomic_output_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace slidemake {

AtomicOutputFile::AtomicOutputFile(std::string path)
    : path_(std::move(path)), temp_path_(path_ + ".partial") {
  file_ = std::fopen(temp_path_.c_str(), "wb");
  if (!file_)
    throw std::runtime_error("cannot create \"" + temp_path_ + "\": " + std::strerror(errno));
}

AtomicOutputFile::~AtomicOutputFile() {
  if (file_) std::fclose(file_);
  if (!committed_) {
    std::error_code ignored;
    std::filesystem::remove(temp_path_, ignored);
  }
}

void AtomicOutputFile::write(std::span<const uint8_t> bytes) {
  if (bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
    throw std::runtime_error("cannot write \"" + temp_path_ + "\": " + std::strerror(errno));
  position_ += static_cast<int64_t>(bytes.size());
}

void AtomicOutputFile::commit(const std::string& mode_from) {
  const bool flushed = std::fflush(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!flushed || !closed)
    throw std::runtime_error("cannot write \"" + temp_path_ + "\": " + std::strerror(errno));
  namespace fs = std::filesystem;
  if (!mode_from.empty()) {
    std::error_code ignored;
    fs::permissions(temp_path_, fs::status(mode_from).permissions(), ignored);
  }
  std::error_code ec;
  fs::rename(temp_path_, path_, ec);
  if (ec) throw std::runtime_error("cannot create \"" + path_ + "\": " + ec.message());
  committed_ = true;
}

}  // namespace slidemake
