// The studio's access rules and the names it gives savers, without a server.
#include "studio_access.h"

#include <gtest/gtest.h>

#include "studio_builds.h"
#include "studio_folder.h"
#include "support/saver_fixture.h"

namespace {

using slidemake::AccessPolicy;
using slidemake::AccessRequest;

TEST(StudioAccess, OnlyOurHostOriginAndTokenPass) {
  const std::string token = slidemake::make_access_token();
  ASSERT_EQ(token.size(), 32u);
  EXPECT_NE(token, slidemake::make_access_token());
  const AccessPolicy policy(8123, token);
  const std::string cookie = "slidemake-studio-8123=" + token;
  struct Case {
    const char* what;
    AccessRequest request;
    bool allowed;
  };
  const Case cases[] = {
      {"the cookie", {"127.0.0.1:8123", "", cookie, ""}, true},
      {"the cookie among others", {"localhost:8123", "", "a=1; " + cookie + "; b=2", ""}, true},
      {"the token in the address", {"127.0.0.1:8123", "", "", token}, true},
      {"our own origin", {"127.0.0.1:8123", "http://localhost:8123", cookie, ""}, true},
      {"no token", {"127.0.0.1:8123", "", "", ""}, false},
      {"a token cut short",
       {"127.0.0.1:8123", "", "slidemake-studio-8123=" + token.substr(1), ""},
       false},
      {"another studio's cookie",
       {"127.0.0.1:8123", "", "slidemake-studio-8124=" + token, ""},
       false},
      {"the token under a longer name",
       {"127.0.0.1:8123", "", "xslidemake-studio-8123=" + token, ""},
       false},
      {"another port", {"127.0.0.1:8124", "", cookie, ""}, false},
      {"a rebound name", {"attacker.example:8123", "", cookie, ""}, false},
      {"no host", {"", "", cookie, ""}, false},
      {"a foreign origin", {"127.0.0.1:8123", "http://attacker.example", cookie, ""}, false},
      {"an origin of null", {"127.0.0.1:8123", "null", cookie, ""}, false},
      {"our origin over https", {"127.0.0.1:8123", "https://127.0.0.1:8123", cookie, ""}, false},
      {"our origin as a prefix",
       {"127.0.0.1:8123", "http://127.0.0.1:8123.attacker.example", cookie, ""},
       false},
  };
  for (const Case& c : cases) {
    const auto refusal = policy.check(c.request);
    EXPECT_EQ(!refusal, c.allowed) << c.what;
    if (refusal) {
      EXPECT_EQ(refusal->status, 403) << c.what;
    }
  }
}

TEST(StudioSaverNames, TitlesBecomeSafeFileNames) {
  using slidemake::RuntimeTarget;
  EXPECT_EQ(slidemake::saver_file_name("Holiday 2026", RuntimeTarget::kWin64),
            "Holiday 2026-win64.scr");
  EXPECT_EQ(slidemake::saver_file_name("a/b\\c:d*", RuntimeTarget::kWin32), "a-b-c-d--win32.scr");
  EXPECT_EQ(slidemake::saver_file_name("  ..Trip.. ", RuntimeTarget::kLinux), "Trip-linux");
  EXPECT_EQ(slidemake::saver_file_name("", RuntimeTarget::kWin64), "slidesaver-win64.scr");
  EXPECT_EQ(slidemake::saver_file_name("CON", RuntimeTarget::kWin64), "CON-win64.scr");
}

TEST(StudioSaverNames, ABuildNeverTakesTheNameOfTheUsersOwnFile) {
  slidemake_test::ScratchDir dir;
  slidemake::StudioFolder folder(dir.path(""));
  dir.write_text("Trip-win64.scr", "the user's own file");
  EXPECT_EQ(folder.saver_output_path("Trip-win64.scr").filename(), "Trip-win64-2.scr");
  folder.remember_saver("Trip-win64-2.scr");
  dir.write_text("Trip-win64-2.scr", "an earlier build");
  EXPECT_EQ(folder.saver_output_path("Trip-win64.scr").filename(),
            "Trip-win64-2.scr");  // rebuilt in place
  EXPECT_TRUE(folder.made_saver("Trip-win64-2.scr"));
  EXPECT_FALSE(folder.made_saver("Trip-win64.scr"));
}

}  // namespace
