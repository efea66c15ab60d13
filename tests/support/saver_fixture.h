#pragma once
// A scratch folder with generated inputs for building savers in tests.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/jpeg_encoder.h"

namespace slidemake_test {

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void write(const std::string& name, const std::vector<uint8_t>& bytes) const;
  void write_text(const std::string& name, const std::string& text) const;
  std::vector<uint8_t> read(const std::string& name) const;
  // A runtime stand-in of the given size (the builder never looks inside it).
  std::string fake_runtime(size_t size) const;
  // A colourful JPEG of the given size.
  std::string jpeg(const std::string& name, int width, int height) const;

 private:
  std::filesystem::path dir_;
};

}  // namespace slidemake_test
