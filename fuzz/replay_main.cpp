// Replays fuzz inputs without the fuzzing engine: every file named on the command line, and every
// file in every folder named there, goes through the target once. Any input that crashes a
// target, trips a sanitizer or hangs fails the test that runs this.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputs_in(const fs::path& where) {
  std::vector<fs::path> files;
  if (fs::is_regular_file(where)) {
    files.push_back(where);
  } else if (fs::is_directory(where)) {
    for (const auto& entry : fs::recursive_directory_iterator(where))
      if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());  // the same order on every run
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  size_t replayed = 0;
  for (int a = 1; a < argc; ++a) {
    for (const fs::path& file : inputs_in(argv[a])) {
      std::ifstream in(file, std::ios::binary);
      const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
      // An empty vector has no data pointer; the engine never passes null.
      const uint8_t empty = 0;
      LLVMFuzzerTestOneInput(bytes.empty() ? &empty : bytes.data(), bytes.size());
      ++replayed;
    }
  }
  std::printf("replayed %zu inputs\n", replayed);
  return replayed > 0 ? 0 : 1;
}
