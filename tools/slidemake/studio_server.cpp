#include "studio_server.h"

#include <httplib.h>

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "studio_access.h"
#include "studio_assets.h"
#include "studio_builds.h"
#include "studio_folder.h"
#include "studio_previews.h"

namespace slidemake {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// Gallery requests wait their turn at the engine; enough threads stay free for the rest.
constexpr size_t kWorkerThreads = 16;

std::string content_type_of(std::string_view name) {
  if (name.ends_with(".html")) return "text/html; charset=utf-8";
  if (name.ends_with(".css")) return "text/css; charset=utf-8";
  if (name.ends_with(".js")) return "text/javascript; charset=utf-8";
  return "application/octet-stream";
}

void send_json(httplib::Response& res, const json& body, int status = 200) {
  res.status = status;
  res.set_content(body.dump(), "application/json");
}

void send_error(httplib::Response& res, int status, const std::string& message,
                const std::string& field = {}) {
  send_json(res, {{"error", message}, {"field", field}}, status);
}

void send_bytes(httplib::Response& res, const std::vector<uint8_t>& bytes, const char* type) {
  res.set_content(std::string(bytes.begin(), bytes.end()), type);
}

std::vector<uint8_t> read_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs a handler; a StudioError becomes its status with the field at fault, anything else 500.
httplib::Server::Handler guarded(
    std::function<void(const httplib::Request&, httplib::Response&)> handler) {
  return [handler = std::move(handler)](const httplib::Request& req, httplib::Response& res) {
    try {
      handler(req, res);
    } catch (const StudioError& e) {
      send_error(res, e.status, e.what(), e.field);
    } catch (const json::exception& e) {
      send_error(res, 400, std::string("the request is not valid JSON: ") + e.what());
    } catch (const std::exception& e) {
      send_error(res, 500, e.what());
    }
  };
}

std::optional<UploadKind> upload_kind(const std::string& name) {
  if (name == "picture") return UploadKind::kPicture;
  if (name == "music") return UploadKind::kMusic;
  if (name == "movie") return UploadKind::kMovie;
  return std::nullopt;
}

}  // namespace

struct StudioServer::State {
  explicit State(StudioOptions o)
      : options(std::move(o)),
        folder(options.folder),
        previews(folder),
        builds(folder, options.slidemake_path) {}

  StudioOptions options;
  StudioFolder folder;
  StudioPreviews previews;
  StudioBuilds builds;
  httplib::Server server;
  int port = 0;
  std::unique_ptr<AccessPolicy> access;

  void add_routes();
  httplib::Server::HandlerResponse check_access(const httplib::Request& req,
                                                httplib::Response& res);
  void upload(const httplib::Request& req, httplib::Response& res);
};

httplib::Server::HandlerResponse StudioServer::State::check_access(const httplib::Request& req,
                                                                   httplib::Response& res) {
  const std::string host = req.get_header_value("Host"), origin = req.get_header_value("Origin"),
                    cookie = req.get_header_value("Cookie"), token = req.get_param_value("token");
  const AccessRequest request{host, origin, cookie, token};
  // Never let the browser send the token on to another site, nor guess at types.
  res.set_header("Referrer-Policy", "no-referrer");
  res.set_header("X-Content-Type-Options", "nosniff");
  if (const auto refusal = access->check(request)) {
    res.status = refusal->status;
    res.set_content(refusal->reason + "\n", "text/plain; charset=utf-8");
    return httplib::Server::HandlerResponse::Handled;
  }
  if (access->token_in_address(request)) res.set_header("Set-Cookie", access->set_cookie_header());
  return httplib::Server::HandlerResponse::Unhandled;
}

void StudioServer::State::upload(const httplib::Request& req, httplib::Response& res) {
  const auto kind = upload_kind(req.has_param("kind") ? req.get_param_value("kind") : "picture");
  if (!kind) throw StudioError(400, "upload", "kind is picture, music or movie");
  if (!req.is_multipart_form_data() || req.files.empty())
    throw StudioError(400, "upload", "send the files as multipart/form-data");
  if (req.files.size() > options.max_files_per_upload)
    throw StudioError(
        413, "upload",
        "at most " + std::to_string(options.max_files_per_upload) + " files in one upload");
  const size_t limit =
      *kind == UploadKind::kPicture ? options.max_picture_bytes : options.max_media_bytes;
  // Every file is checked before any is stored, so a refused upload writes nothing.
  for (const auto& [field, file] : req.files) {
    if (file.content.size() > limit)
      throw StudioError(413, "upload",
                        "\"" + file.filename + "\" is larger than the " +
                            std::to_string(limit >> 20) + " MiB an upload may be");
    StudioFolder::check_upload_name(file.filename);
  }
  json stored = json::array();
  for (const auto& [field, file] : req.files) {
    const StoredUpload s = folder.store_upload(*kind, file.filename, file.content, options.ingest);
    stored.push_back(
        {{"file", s.file}, {"width", s.width}, {"height", s.height}, {"warnings", s.warnings}});
  }
  send_json(res, {{"files", stored}});
}

void StudioServer::State::add_routes() {
  server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    return check_access(req, res);
  });

  // The first visit carries the token in the address: the cookie is set, the token dropped.
  server.Get("/", [this](const httplib::Request& req, httplib::Response& res) {
    if (req.has_param("token")) return res.set_redirect("/", 303);
    for (const EmbeddedFile& f : embedded_files())
      if (f.name == "index.html")
        res.set_content(std::string(f.bytes.begin(), f.bytes.end()), content_type_of(f.name));
    res.set_header("Content-Security-Policy", "default-src 'self'; img-src 'self' blob: data:");
  });
  server.Get(R"(/([a-z_\-]+\.(css|js)))", [](const httplib::Request& req, httplib::Response& res) {
    for (const EmbeddedFile& f : embedded_files())
      if (f.name == req.matches[1].str()) {
        res.set_content(std::string(f.bytes.begin(), f.bytes.end()), content_type_of(f.name));
        return;
      }
    res.status = 404;
  });

  server.Get("/api/manifest", guarded([this](const httplib::Request&, httplib::Response& res) {
               json document = folder.load_document();
               send_json(res, {{"manifest", document}, {"folder", folder.path().string()}});
             }));
  server.Put("/api/manifest", guarded([this](const httplib::Request& req, httplib::Response& res) {
               folder.save_document(json::parse(req.body));
               send_json(res, {{"saved", true}, {"gallery", previews.gallery_key()}});
             }));
  server.Post("/api/upload", guarded([this](const httplib::Request& req, httplib::Response& res) {
                upload(req, res);
              }));
  server.Get("/api/thumbnail", guarded([this](const httplib::Request& req, httplib::Response& res) {
               send_bytes(res, folder.thumbnail(req.get_param_value("file")), "image/jpeg");
               res.set_header("Cache-Control", "private, max-age=3600");
             }));
  server.Get("/api/gallery", guarded([this](const httplib::Request&, httplib::Response& res) {
               send_json(res, {{"key", previews.gallery_key()},
                               {"width", kGalleryWidth},
                               {"height", kGalleryHeight}});
             }));
  server.Get(R"(/api/style/(\d{1,3})\.gif)",
             guarded([this](const httplib::Request& req, httplib::Response& res) {
               send_bytes(res, previews.style_gif(std::stoi(req.matches[1].str())), "image/gif");
               res.set_header("Cache-Control", "private, max-age=3600");
             }));
  server.Post("/api/play", guarded([this](const httplib::Request& req, httplib::Response& res) {
                const json body = json::parse(req.body);
                const std::string name =
                    previews.record_play(body.value("width", 640), body.value("height", 360));
                send_json(res, {{"recording", "/api/recording/" + name}});
              }));
  server.Get(R"(/api/recording/([a-z.]+))",
             guarded([this](const httplib::Request& req, httplib::Response& res) {
               send_bytes(res, read_bytes(previews.recording(req.matches[1].str())), "image/gif");
             }));
  server.Post("/api/build", guarded([this](const httplib::Request& req, httplib::Response& res) {
                const json body = json::parse(req.body);
                const auto target = parse_runtime_target(body.value("target", ""));
                if (!target) throw StudioError(400, "target", "target is win32, win64 or linux");
                send_json(res, {{"id", builds.start(*target)}});
              }));
  server.Get(R"(/api/build/(\d{1,9}))",
             guarded([this](const httplib::Request& req, httplib::Response& res) {
               const json status = builds.status(std::stoi(req.matches[1].str()));
               if (status.is_null()) throw StudioError(404, "", "no such build");
               send_json(res, status);
             }));
  server.Get("/api/saver", guarded([this](const httplib::Request& req, httplib::Response& res) {
               const std::string name = req.get_param_value("name");
               if (!folder.made_saver(name))
                 throw StudioError(404, "", "no saver of that name was built here");
               send_bytes(res, read_bytes(folder.path() / name), "application/octet-stream");
               res.set_header("Content-Disposition", "attachment; filename=\"" + name + "\"");
             }));
}

StudioServer::StudioServer(StudioOptions options)
    : state_(std::make_unique<State>(std::move(options))) {
  State& s = *state_;
  s.server.new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };
  // The whole request is held in memory: the page sends one file a request, so one file of the
  // largest kind (and its form around it) is the most a request may carry.
  s.server.set_payload_max_length(std::max(s.options.max_picture_bytes, s.options.max_media_bytes) +
                                  (size_t{1} << 20));
  if (s.options.port > 0) {
    if (!s.server.bind_to_port("127.0.0.1", s.options.port))
      throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(s.options.port) +
                               "; is another program using that port?");
    s.port = s.options.port;
  } else {
    s.port = s.server.bind_to_any_port("127.0.0.1");
    if (s.port <= 0) throw std::runtime_error("cannot listen on any port of 127.0.0.1");
  }
  s.access = std::make_unique<AccessPolicy>(s.port, make_access_token());
  s.add_routes();
}

StudioServer::~StudioServer() {
  stop();
}

int StudioServer::port() const {
  return state_->port;
}
const std::string& StudioServer::token() const {
  return state_->access->token();
}
std::string StudioServer::address() const {
  return "http://127.0.0.1:" + std::to_string(port()) + "/?token=" + token();
}

void StudioServer::run() {
  state_->server.listen_after_bind();
}
void StudioServer::stop() {
  state_->server.stop();
}

}  // namespace slidemake
