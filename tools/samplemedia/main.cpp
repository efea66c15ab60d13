// samplemedia DIR: writes the demo pictures, two short tunes and a manifest that slidemake builds.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>

#include "common/sample_painters.h"
#include "writers.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: samplemedia DIR\n";
    return 2;
  }
  namespace fs = std::filesystem;
  using namespace ss::sample;
  const fs::path dir = argv[1];
  try {
    fs::create_directories(dir);
    // Sizes chosen to exercise the composer: larger than a 1920x1080 screen, and smaller.
    write_jpeg((dir / "sunrise.jpg").string(), paint_sunrise(2400, 1600), 88);
    write_jpeg((dir / "waves.jpg").string(), paint_waves(1280, 720), 85);
    write_bmp((dir / "mosaic.bmp").string(), paint_mosaic(640, 480));
    const bool png = write_png((dir / "aurora.png").string(), paint_aurora(1024, 640));
    static const int kTuneA[] = {60, 64, 67, 72, 67, 64};
    static const int kTuneB[] = {62, 65, 69, 74, 69, 65};
    write_tune_wav((dir / "tune-a.wav").string(), kTuneA, 6, 0.4);
    write_tune_wav((dir / "tune-b.wav").string(), kTuneB, 6, 0.4);

    nlohmann::ordered_json manifest;
    manifest["pictures"] = {{{"file", "sunrise.jpg"}, {"description", "Sunrise over the sea"}},
                            "waves.jpg", "mosaic.bmp"};
    if (png) manifest["pictures"].push_back("aurora.png");
    manifest["music"] = {"tune-a.wav", "tune-b.wav"};
    manifest["movies"] = nlohmann::json::array();
    manifest["settings"] = {
        {"Text", "slidesaver demo"},
        {"TextFont",
         {{"Name", "DejaVu Sans"}, {"Height", -28}, {"Color", "clWhite"}, {"Style", {"fsBold"}}}},
        {"lRandomStyle", false},
        {"lClearOldImage", false},
        {"Interval", 3000},
        {"SoundRandom", 1},
        {"lExitMouseMove", true},
        {"lExitMouseClick", true},
        {"lExitKeyPress", true},
        {"Title", "slidesaver demo"},
        {"Author", "The slidesaver developers"},
        {"Email", "mailto:demo@example.org"},
        {"Web", "https://example.org/slidesaver"},
        {"Ver", "photo"},
        {"EffectCommaList", {51, 5, 58, 84, 127, 118, 119, 60, 14, 110}}};
    std::ofstream(dir / "demo.json") << manifest.dump(2) << '\n';
    std::cout << "sample media written to " << dir.string() << '\n';
  } catch (const std::exception& e) {
    std::cerr << "samplemedia: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
