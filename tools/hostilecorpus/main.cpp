// Writes the hostile-package corpus: one saver file per case and index.tsv, which gives each
// case's expected outcome through `slidemake inspect`, the show and the setup dialog.
//   hostilecorpus OUT_DIR
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "hostile_cases.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: hostilecorpus OUT_DIR\n");
    return 2;
  }
  const fs::path out = argv[1];
  fs::create_directories(out);
  for (const auto& entry : fs::directory_iterator(out))
    if (entry.path().extension() == ".scr") fs::remove(entry.path());

  std::ofstream index(out / "index.tsv", std::ios::binary);
  index << "# file\tinspect\tshow\tcreated\tsetup\tabout\n";
  size_t total = 0;
  for (const hostile::HostileCase& c : hostile::hostile_cases()) {
    const std::string file = c.name + ".scr";
    std::ofstream(out / file, std::ios::binary)
        .write(reinterpret_cast<const char*>(c.bytes.data()),
               static_cast<std::streamsize>(c.bytes.size()));
    index << file << '\t' << c.inspect << '\t' << c.show << '\t' << c.created << '\t' << c.setup
          << '\t' << c.about << '\n';
    total += c.bytes.size();
  }
  std::printf("wrote the hostile corpus to %s (%zu bytes)\n", out.string().c_str(), total);
  return 0;
}
