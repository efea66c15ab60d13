// The studio's server, driven over HTTP as the page drives it.
#include "studio_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <thread>

#include "manifest.h"
#include "saver_contents.h"
#include "support/saver_fixture.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using slidemake_test::ScratchDir;

// A studio on a scratch folder, with fake runtimes where `build` looks for installed ones.
class Studio {
 public:
  explicit Studio(const ScratchDir& dir, size_t max_picture_bytes = size_t{8} << 20) : dir_(dir) {
    fs::create_directories(dir.path("folder"));
    fs::create_directories(dir.path("bin"));
    dir.write("bin/slidesaver-win64.scr", std::vector<uint8_t>(5000, 0x4D));
    slidemake::StudioOptions options;
    options.folder = dir.path("folder");
    options.slidemake_path = dir.path("bin/slidemake");
    options.max_picture_bytes = max_picture_bytes;
    server_ = std::make_unique<slidemake::StudioServer>(options);
    thread_ = std::thread([this] { server_->run(); });
  }
  ~Studio() {
    server_->stop();
    thread_.join();
  }

  // A client that visited the printed address: it holds the cookie.
  httplib::Client client() const {
    httplib::Client c("127.0.0.1", server_->port());
    c.set_default_headers({{"Cookie", "slidemake-studio-" + std::to_string(server_->port()) + "=" +
                                          server_->token()}});
    return c;
  }
  httplib::Client stranger() const { return httplib::Client("127.0.0.1", server_->port()); }
  int port() const { return server_->port(); }
  const std::string& token() const { return server_->token(); }
  fs::path folder() const { return dir_.path("folder"); }

  json get_json(const std::string& path) const {
    auto res = client().Get(path.c_str());
    EXPECT_TRUE(res);
    return res ? json::parse(res->body) : json();
  }
  httplib::Result upload(const std::string& name, const std::string& bytes,
                         const httplib::Headers& headers = {}, bool with_cookie = true) const {
    const httplib::MultipartFormDataItems items = {
        {"file", bytes, name, "application/octet-stream"}};
    return with_cookie ? client().Post("/api/upload?kind=picture", headers, items)
                       : stranger().Post("/api/upload?kind=picture", headers, items);
  }
  json build(const std::string& target) const {
    auto started = client().Post("/api/build", json{{"target", target}}.dump(), "application/json");
    const int id = json::parse(started->body)["id"];
    for (int i = 0; i < 500; ++i) {
      const json status = get_json("/api/build/" + std::to_string(id));
      if (status["state"] != "running") return status;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return {};
  }

 private:
  const ScratchDir& dir_;
  std::unique_ptr<slidemake::StudioServer> server_;
  std::thread thread_;
};

std::string file_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> folder_listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    names.push_back(fs::relative(entry.path(), folder).string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(StudioServer, ManifestRoundTripsWithTheCommandLine) {
  ScratchDir dir;
  Studio studio(dir);
  dir.jpeg("folder/a.jpg", 64, 48);
  dir.jpeg("folder/b.jpg", 64, 48);
  // Written by hand, as a command-line user would.
  dir.write_text("folder/slidesaver.json",
                 R"({"pictures": ["a.jpg", {"file": "b.jpg", "description": "Bee"}],
    "settings": {"Interval": 7000, "EffectCommaList": [3, 58], "TextFont": {"Name": "Tahoma", "Size": 20}}})");

  json document = studio.get_json("/api/manifest")["manifest"];
  ASSERT_EQ(document["pictures"].size(), 2u);
  EXPECT_EQ(document["pictures"][1]["description"], "Bee");
  EXPECT_EQ(document["settings"]["Interval"], 7000);
  EXPECT_EQ(document["settings"]["EffectCommaList"], json({3, 58}));
  EXPECT_EQ(document["settings"]["TextFont"]["Name"], "Tahoma");

  // The page's edits come back through the command line's own reader.
  std::swap(document["pictures"][0], document["pictures"][1]);
  document["settings"]["Text"] = "Café";
  document["settings"]["EffectCommaList"] = {127, 58};
  auto saved = studio.client().Put("/api/manifest", document.dump(), "application/json");
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->status, 200) << saved->body;
  const slidemake::Manifest m =
      slidemake::load_manifest((studio.folder() / "slidesaver.json").string());
  ASSERT_EQ(m.pictures.size(), 2u);
  EXPECT_EQ(fs::path(m.pictures[0].path).filename(), "b.jpg");
  EXPECT_EQ(m.pictures[0].description, "Bee");
  EXPECT_EQ(m.settings.Text, "Café");
  EXPECT_EQ(m.settings.Interval, 7000);
  EXPECT_EQ(m.settings.EffectCommaList.items(), (std::vector<std::string>{"127", "58"}));
  EXPECT_EQ(m.settings.TextFont.Name, "Tahoma");
  EXPECT_EQ(m.settings.TextFont.Height, -27);  // 20 points at 96 per inch, kept through the page

  // A bad setting is refused, named, and the manifest on disk stays as it was.
  const std::string before = file_text(studio.folder() / "slidesaver.json");
  document["settings"]["Interval"] = "soon";
  auto refused = studio.client().Put("/api/manifest", document.dump(), "application/json");
  EXPECT_EQ(refused->status, 400);
  EXPECT_EQ(json::parse(refused->body)["field"], "settings.Interval");
  EXPECT_EQ(file_text(studio.folder() / "slidesaver.json"), before);
}

TEST(StudioServer, UploadPreviewBuildAndDownload) {
  ScratchDir dir;
  Studio studio(dir);
  for (const char* name : {"one.jpg", "two.jpg"}) {
    dir.jpeg(name, 400, 300);
    auto res = studio.upload(name, file_text(dir.path(name)));
    ASSERT_EQ(res->status, 200) << res->body;
    EXPECT_EQ(json::parse(res->body)["files"][0]["file"], name);
    // An upright JPEG within size is stored byte for byte.
    EXPECT_EQ(file_text(studio.folder() / name), file_text(dir.path(name)));
  }
  // The same photo again is the same file; another photo of that name gets a name of its own.
  EXPECT_EQ(json::parse(
                studio.upload("one.jpg", file_text(dir.path("one.jpg")))->body)["files"][0]["file"],
            "one.jpg");
  dir.jpeg("other.jpg", 80, 60);
  EXPECT_EQ(
      json::parse(
          studio.upload("one.jpg", file_text(dir.path("other.jpg")))->body)["files"][0]["file"],
      "one-2.jpg");

  json document = studio.get_json("/api/manifest")["manifest"];
  document["pictures"] = {{{"file", "two.jpg"}, {"description", ""}},
                          {{"file", "one.jpg"}, {"description", "First"}}};
  document["settings"]["Title"] = "Holiday: 2026";
  document["settings"]["EffectCommaList"] = {58, 127};
  ASSERT_EQ(studio.client().Put("/api/manifest", document.dump(), "application/json")->status, 200);

  auto thumb = studio.client().Get("/api/thumbnail?file=one.jpg");
  ASSERT_EQ(thumb->status, 200);
  EXPECT_EQ(thumb->get_header_value("Content-Type"), "image/jpeg");
  EXPECT_EQ(studio.client().Get("/api/thumbnail?file=one-2.jpg")->status, 404);  // not in the saver

  auto style = studio.client().Get("/api/style/58.gif");
  ASSERT_EQ(style->status, 200);
  EXPECT_EQ(style->body.substr(0, 6), "GIF89a");
  EXPECT_EQ(studio.client().Get("/api/style/58.gif")->body, style->body);  // from the cache
  EXPECT_EQ(studio.client().Get("/api/style/128.gif")->status, 404);

  const json built = studio.build("win64");
  ASSERT_EQ(built["state"], "done") << built.dump();
  const std::string name = built["file"];
  EXPECT_EQ(name, "Holiday- 2026-win64.scr");
  const fs::path saver = studio.folder() / name;
  EXPECT_EQ(built["size"], fs::file_size(saver));
  auto download = studio.client().Get("/api/saver?name=Holiday-%202026-win64.scr");
  ASSERT_EQ(download->status, 200);
  EXPECT_EQ(download->body, file_text(saver));
  const slidemake::SaverContents contents = slidemake::read_saver_contents(saver.string());
  EXPECT_EQ(contents.settings.PicFileNamesCommaList.items(),
            (std::vector<std::string>{"two.jpg", "one.jpg"}));
  EXPECT_EQ(contents.settings.EffectCommaList.items(), (std::vector<std::string>{"58", "127"}));
  // Only savers the studio made are served, never the folder's other files.
  EXPECT_EQ(studio.client().Get("/api/saver?name=slidesaver.json")->status, 404);
  EXPECT_EQ(studio.client().Get("/api/saver?name=one.jpg")->status, 404);
}

TEST(StudioServer, ServesItsOwnPageAndNoneOfTheFoldersFiles) {
  ScratchDir dir;
  Studio studio(dir);
  dir.write_text("folder/slidesaver.json", R"({"pictures": []})");
  dir.write_text("folder/secret.txt", "private");
  auto page = studio.client().Get("/");
  ASSERT_EQ(page->status, 200);
  EXPECT_NE(page->body.find("/studio.js"), std::string::npos);
  EXPECT_NE(page->get_header_value("Content-Security-Policy").find("default-src 'self'"),
            std::string::npos);
  EXPECT_EQ(studio.client().Get("/studio.js")->get_header_value("Content-Type"),
            "text/javascript; charset=utf-8");
  for (const char* path : {"/secret.txt", "/slidesaver.json", "/../folder/secret.txt",
                           "/%2e%2e/secret.txt", "/.studio/savers.txt", "/api/recording/secret.txt",
                           "/api/saver?name=secret.txt", "/api/thumbnail?file=secret.txt"})
    EXPECT_EQ(studio.client().Get(path)->body.find("private"), std::string::npos) << path;

  // Music goes in as it is, under its own name.
  const httplib::MultipartFormDataItems music = {
      {"file", "RIFF....WAVE", "theme.wav", "audio/wav"}};
  auto stored = studio.client().Post("/api/upload?kind=music", music);
  ASSERT_EQ(stored->status, 200) << stored->body;
  EXPECT_EQ(file_text(studio.folder() / "theme.wav"), "RIFF....WAVE");
}

TEST(StudioServer, BuildFailuresNameTheFieldAtFault) {
  ScratchDir dir;
  Studio studio(dir);
  dir.write_text("folder/broken.jpg", "not a picture at all");
  dir.jpeg("folder/fine.jpg", 32, 32);
  dir.write_text("folder/slidesaver.json", R"({"pictures": ["fine.jpg", "broken.jpg"]})");
  json failed = studio.build("win64");
  EXPECT_EQ(failed["state"], "failed");
  EXPECT_EQ(failed["field"], "pictures[1]");
  failed = studio.build("linux");  // no runtime for it beside this slidemake
  EXPECT_EQ(failed["field"], "target");
  dir.write_text("folder/slidesaver.json", R"({"pictures": []})");
  EXPECT_EQ(studio.build("win64")["field"], "pictures");
  for (const auto& name : folder_listing(studio.folder()))
    EXPECT_EQ(name.find(".scr"), std::string::npos) << name;
}

TEST(StudioServer, RefusalsWriteNothing) {
  ScratchDir dir;
  Studio studio(dir, 100 * 1024);
  dir.jpeg("photo.jpg", 64, 64);
  const std::string photo = file_text(dir.path("photo.jpg"));
  const std::string host = "127.0.0.1:" + std::to_string(studio.port());
  const std::vector<std::string> before = folder_listing(studio.folder());

  struct Case {
    const char* what;
    httplib::Result result;
    int status;
  };
  std::vector<Case> cases;
  cases.push_back({"no token", studio.upload("photo.jpg", photo, {}, false), 403});
  cases.push_back(
      {"a wrong token",
       studio.upload("photo.jpg", photo,
                     {{"Cookie", "slidemake-studio-" + std::to_string(studio.port()) + "=00"}},
                     false),
       403});
  cases.push_back({"a rebound host name",
                   studio.upload("photo.jpg", photo,
                                 {{"Host", "attacker.example:" + std::to_string(studio.port())}}),
                   403});
  cases.push_back({"a foreign origin",
                   studio.upload("photo.jpg", photo, {{"Origin", "http://attacker.example"}}),
                   403});
  cases.push_back(
      {"an origin that only starts like ours",
       studio.upload("photo.jpg", photo, {{"Origin", "http://" + host + ".attacker.example"}}),
       403});
  cases.push_back({"a name that climbs out", studio.upload("..\\..\\x", photo), 400});
  cases.push_back({"a path", studio.upload("../x.jpg", photo), 400});
  cases.push_back({"a hidden name", studio.upload(".studio", photo), 400});
  cases.push_back({"a device name", studio.upload("CON.jpg", photo), 400});
  cases.push_back(
      {"an oversized picture", studio.upload("big.jpg", std::string(200 * 1024, 'x')), 413});
  cases.push_back({"not a picture", studio.upload("fake.jpg", "just text"), 422});
  for (const Case& c : cases) {
    ASSERT_TRUE(c.result) << c.what;
    EXPECT_EQ(c.result->status, c.status) << c.what << ": " << c.result->body;
  }
  EXPECT_EQ(folder_listing(studio.folder()), before);

  // The page itself is refused without the token too, and the address's token sets the cookie.
  EXPECT_EQ(studio.stranger().Get("/")->status, 403);
  auto first_visit = studio.stranger().Get(("/?token=" + studio.token()).c_str());
  EXPECT_EQ(first_visit->status, 303);
  EXPECT_EQ(first_visit->get_header_value("Set-Cookie"),
            "slidemake-studio-" + std::to_string(studio.port()) + "=" + studio.token() +
                "; Path=/; HttpOnly; SameSite=Strict");
}

TEST(StudioServer, PlayPreviewRecordsTheSavedShow) {
  ScratchDir dir;
  Studio studio(dir);
  dir.jpeg("folder/a.jpg", 160, 120);
  dir.jpeg("folder/b.jpg", 120, 160);
  dir.write_text(
      "folder/slidesaver.json",
      R"({"pictures": ["a.jpg", "b.jpg"], "settings": {"Interval": 300, "EffectCommaList": [5]}})");
  auto res =
      studio.client().Post("/api/play", R"({"width": 160, "height": 90})", "application/json");
  ASSERT_EQ(res->status, 200) << res->body;
  auto gif = studio.client().Get(json::parse(res->body)["recording"].get<std::string>().c_str());
  ASSERT_EQ(gif->status, 200);
  EXPECT_EQ(gif->body.substr(0, 6), "GIF89a");
  EXPECT_EQ(gif->body[6], char(160));  // the size asked for
  EXPECT_EQ(gif->body[8], char(90));
}

}  // namespace
