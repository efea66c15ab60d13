// The hostile-package corpus (tests/data/hostile/, made by scripts/make-hostile-corpus.sh): each
// damaged or forged saver is read by the authoring tool's inspect, run as a show and opened in
// the setup dialog on the headless platform. Each road must end as index.tsv says, and nothing
// may be created outside the redirected temporary directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/saver_entry.h"
#include "base/random.h"
#include "setup/setup_dialog.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_setup_view.h"
#include "show/input_hook.h"
#include "show/saver_mode.h"
#include "slidemake/saver_contents.h"

namespace ss {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = fs::path(SLIDESAVER_TEST_DATA) / "hostile";

struct HostileCase {
  std::string file, inspect, show, setup, about;
  int created = 0;
};

// Failure messages name the case by its file.
void PrintTo(const HostileCase& c, std::ostream* os) {
  *os << c.file;
}

std::vector<HostileCase> load_cases() {
  std::vector<HostileCase> cases;
  std::ifstream index(kCorpus / "index.tsv");
  for (std::string line; std::getline(index, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    HostileCase c;
    std::string created;
    std::getline(fields, c.file, '\t');
    std::getline(fields, c.inspect, '\t');
    std::getline(fields, c.show, '\t');
    std::getline(fields, created, '\t');
    std::getline(fields, c.setup, '\t');
    std::getline(fields, c.about, '\t');
    c.created = std::stoi(created);
    cases.push_back(c);
  }
  return cases;
}

// "error:<text>" → <text>; "" for any other outcome word.
std::string error_of(const std::string& outcome) {
  return outcome.starts_with("error:") ? outcome.substr(6) : "";
}

// The saver copied into <root>/outer/saver.scr with its temporary directory <root>/outer/tmp/:
// a name that climbs out of the temporary directory lands somewhere below <root> and is seen.
class HostileScratch {
 public:
  explicit HostileScratch(const std::string& file)
      : root_(fs::temp_directory_path() /
              ("ss-hostile-" + std::to_string(std::random_device{}()))) {
    fs::create_directories(root_ / "outer" / "tmp");
    fs::copy_file(kCorpus / file, root_ / "outer" / "saver.scr");
  }
  ~HostileScratch() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  HostileScratch(const HostileScratch&) = delete;
  HostileScratch& operator=(const HostileScratch&) = delete;

  std::string saver() const { return (root_ / "outer" / "saver.scr").string(); }
  std::string temp_dir() const { return (root_ / "outer" / "tmp").string() + "/"; }

  HeadlessConfig config() const {
    HeadlessConfig config;
    config.executable_path = saver();
    config.temp_directory = temp_dir();
    config.screen_size = {64, 48};
    config.run_limit_ms = 5000;
    return config;
  }

  // Everything below the root but the saver and the temporary directory's own contents.
  std::vector<std::string> strays() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(root_)) {
      const std::string relative = fs::relative(entry.path(), root_).generic_string();
      if (relative != "outer" && relative != "outer/saver.scr" && relative != "outer/tmp" &&
          !relative.starts_with("outer/tmp/"))
        found.push_back(relative);
    }
    return found;
  }
  bool temp_dir_empty() const { return fs::is_empty(root_ / "outer" / "tmp"); }

 private:
  fs::path root_;
};

class HostilePackage : public testing::TestWithParam<HostileCase> {};

TEST_P(HostilePackage, InspectReportsTheDamage) {
  const HostileCase& c = GetParam();
  HostileScratch scratch(c.file);
  std::string error;
  std::vector<std::string> warnings;
  try {
    warnings = slidemake::read_saver_contents(scratch.saver()).warnings;
  } catch (const std::exception& e) {
    error = e.what();
  }
  if (c.inspect.starts_with("error:")) {
    EXPECT_NE(error.find(error_of(c.inspect)), std::string::npos) << c.about << ": " << error;
  } else {
    ASSERT_EQ(error, "") << c.about;
    if (c.inspect.starts_with("warn:")) {
      const std::string wanted = c.inspect.substr(5);
      std::string all;
      for (const std::string& w : warnings) all += w + "\n";
      EXPECT_NE(all.find(wanted), std::string::npos) << c.about << ": " << all;
    }
  }
}

TEST_P(HostilePackage, TheShowEndsAsDesignedAndWritesOnlyToTheTemporaryDirectory) {
  const HostileCase& c = GetParam();
  HostileScratch scratch(c.file);
  set_random_seed(0);
  show_process_state() = ShowProcessState{};
  HeadlessPlatform platform(scratch.config());
  EXPECT_EQ(run_saver({"/s"}, platform), 0);
  const CallLog& log = platform.log();
  const std::vector<std::string>& errors = platform.app().errors();

  if (const std::string expected = error_of(c.show); !expected.empty()) {
    ASSERT_FALSE(errors.empty()) << c.about << "\n" << log.dump();
    EXPECT_TRUE(errors[0].starts_with(expected)) << c.about << ": " << errors[0];
    EXPECT_FALSE(platform.app().terminated()) << c.about;
  } else {
    EXPECT_TRUE(errors.empty()) << c.about << ": " << errors[0];
    EXPECT_EQ(platform.app().terminated(), c.show == "terminates") << c.about;
    EXPECT_EQ(log.contains("window.topmost"), c.show == "shows") << c.about;
  }

  const std::vector<std::string> created = log.with_prefix("file.create ");
  EXPECT_EQ(static_cast<int>(created.size()), c.created) << c.about << "\n" << log.dump();
  for (const std::string& entry : created)
    EXPECT_EQ(entry.find("file.create " + scratch.temp_dir()), 0u) << entry;
  for (const std::string& entry : log.with_prefix("file.delete "))
    EXPECT_EQ(entry.find("file.delete " + scratch.temp_dir()), 0u) << entry;
  EXPECT_TRUE(scratch.temp_dir_empty()) << c.about;
  EXPECT_EQ(scratch.strays(), std::vector<std::string>{}) << c.about;
}

TEST_P(HostilePackage, TheSetupDialogShowsTheTitleOrReportsTheError) {
  const HostileCase& c = GetParam();
  HostileScratch scratch(c.file);
  HeadlessPlatform platform(scratch.config());
  HeadlessSetupView view(platform.app(), 0x4242);
  TfrmSetup dialog(view, platform.files(), platform.desktop(), platform.app());
  view.show();
  const std::vector<std::string>& errors = platform.app().errors();
  const std::string title = view.caption(SetupControl::lblTitle);
  if (c.setup == "title") {
    EXPECT_TRUE(errors.empty()) << c.about << ": " << errors[0];
    EXPECT_EQ(title, "Title:Hostile") << c.about;
  } else {
    EXPECT_EQ(errors, std::vector<std::string>(c.setup == "unfilled" ? 0 : 1, error_of(c.setup)))
        << c.about;
    EXPECT_EQ(title, "Title:") << c.about;
  }
  EXPECT_FALSE(platform.log().contains("file.create")) << c.about;
  EXPECT_EQ(scratch.strays(), std::vector<std::string>{}) << c.about;
}

std::string case_name(const testing::TestParamInfo<HostileCase>& info) {
  return fs::path(info.param.file).stem().string();
}

INSTANTIATE_TEST_SUITE_P(Corpus, HostilePackage, testing::ValuesIn(load_cases()), case_name);

TEST(HostileCorpus, IsPresentAndSmall) {
  const std::vector<HostileCase> cases = load_cases();
  EXPECT_GE(cases.size(), 40u);
  uintmax_t total = 0;
  for (const HostileCase& c : cases) total += fs::file_size(kCorpus / c.file);
  EXPECT_LT(total, 4u << 20) << "hostile corpus files should stay small";
}

}  // namespace
}  // namespace ss
