// Which runtime `slidemake build` copies when none is given.
#include "slidemake/runtime_lookup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/saver_fixture.h"

namespace slidemake {
namespace {

namespace fs = std::filesystem;
using slidemake_test::ScratchDir;

// A scratch folder laid out like a checkout: slidemake at build/linux/bin/slidemake.
class RuntimeTree {
 public:
  fs::path slidemake() const { return root() / "build/linux/bin/slidemake"; }
  fs::path root() const { return fs::path(dir_.path("")); }
  void add(const std::string& relative) const {
    const fs::path file = root() / relative;
    fs::create_directories(file.parent_path());
    dir_.write(fs::relative(file, root()).string(), {1, 2, 3});
  }
  void add_folder(const std::string& relative) const { fs::create_directories(root() / relative); }
  std::string at(const std::string& relative) const {
    return (root() / relative).lexically_normal().string();
  }

 private:
  ScratchDir dir_;
};

struct LookupCase {
  const char* name;
  RuntimeTarget target;
  std::vector<const char*> files;
  const char* expected;  // relative to the tree
  const char* source;
};

TEST(RuntimeLookup, TakesTheFirstPlaceThatHoldsTheTargetsRuntime) {
  const std::vector<LookupCase> cases = {
      {"installed beside slidemake wins over the build tree",
       RuntimeTarget::kWin32,
       {"build/linux/bin/slidesaver-win32.scr", "build/win32/bin/slidesaver.scr"},
       "build/linux/bin/slidesaver-win32.scr",
       "installed beside slidemake"},
      {"the build tree of the target's preset",
       RuntimeTarget::kWin32,
       {"build/win64/bin/slidesaver.scr", "build/win32/bin/slidesaver.scr"},
       "build/win32/bin/slidesaver.scr",
       "from the build tree"},
      {"win64 never takes the 32-bit runtime",
       RuntimeTarget::kWin64,
       {"build/linux/bin/slidesaver-win32.scr", "build/win32/bin/slidesaver.scr",
        "build/win64/bin/slidesaver.scr"},
       "build/win64/bin/slidesaver.scr",
       "from the build tree"},
      {"linux beside slidemake",
       RuntimeTarget::kLinux,
       {"build/linux/bin/slidesaver", "build/win32/bin/slidesaver.scr"},
       "build/linux/bin/slidesaver",
       "installed beside slidemake"},
  };
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(c.name);
    RuntimeTree tree;
    for (const char* file : c.files) tree.add(file);
    const RuntimeChoice choice = find_runtime(c.target, "", tree.slidemake());
    EXPECT_EQ(choice.path, tree.at(c.expected));
    EXPECT_EQ(choice.source, c.source);
  }
}

TEST(RuntimeLookup, AGivenRuntimeIsTakenAsItIs) {
  RuntimeTree tree;
  tree.add("build/win32/bin/slidesaver.scr");
  const RuntimeChoice choice =
      find_runtime(RuntimeTarget::kWin32, "elsewhere/custom.scr", tree.slidemake());
  EXPECT_EQ(choice.path, "elsewhere/custom.scr");
  EXPECT_EQ(choice.source, "given with --runtime");
}

TEST(RuntimeLookup, AFolderOfTheRuntimesNameIsNoRuntime) {
  RuntimeTree tree;
  tree.add_folder("build/linux/bin/slidesaver-win64.scr");
  tree.add("build/win64/bin/slidesaver.scr");
  EXPECT_EQ(find_runtime(RuntimeTarget::kWin64, "", tree.slidemake()).path,
            tree.at("build/win64/bin/slidesaver.scr"));
}

TEST(RuntimeLookup, NoRuntimeNamesEveryPlaceTriedAndHowToBuildIt) {
  RuntimeTree tree;
  const auto message = [&](RuntimeTarget target) {
    try {
      find_runtime(target, "", tree.slidemake());
    } catch (const std::runtime_error& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  const std::string windows = message(RuntimeTarget::kWin64);
  EXPECT_NE(windows.find(tree.at("build/linux/bin/slidesaver-win64.scr")), std::string::npos);
  EXPECT_NE(windows.find(tree.at("build/win64/bin/slidesaver.scr")), std::string::npos);
  EXPECT_NE(windows.find("make windows"), std::string::npos);

  // Beside a Linux slidemake and in its build tree are the same file: named once.
  const std::string linux_runtime = message(RuntimeTarget::kLinux);
  const std::string path = tree.at("build/linux/bin/slidesaver");
  EXPECT_EQ(linux_runtime.find(path), linux_runtime.rfind(path));
  EXPECT_NE(linux_runtime.find("make build"), std::string::npos);
}

TEST(RuntimeLookup, TargetNames) {
  EXPECT_EQ(parse_runtime_target("win32"), RuntimeTarget::kWin32);
  EXPECT_EQ(parse_runtime_target("win64"), RuntimeTarget::kWin64);
  EXPECT_EQ(parse_runtime_target("linux"), RuntimeTarget::kLinux);
  EXPECT_EQ(parse_runtime_target("Win32"), std::nullopt);
  EXPECT_EQ(parse_runtime_target(""), std::nullopt);
}

}  // namespace
}  // namespace slidemake
