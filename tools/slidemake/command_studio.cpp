// slidemake studio: serves the studio's page for a folder and opens it in the browser.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <stdexcept>
#include <thread>

#include "base/text.h"
#include "commands.h"
#include "platform/files.h"
#include "studio_server.h"

#ifdef _WIN32
#include <shellapi.h>
#include <windows.h>
#else
#include <pthread.h>
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

namespace slidemake {
namespace {

constexpr const char* kUsage = "usage: slidemake studio [FOLDER] [--port N] [--no-open]";

struct StudioArgs {
  std::string folder = ".";
  int port = 0;
  bool open = true;
};

StudioArgs parse_studio_args(const Args& args) {
  StudioArgs o;
  bool folder_given = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--no-open") {
      o.open = false;
    } else if (args[i] == "--port" && i + 1 < args.size()) {
      const auto port = ss::parse_int32(args[++i]);
      if (!port || *port < 1 || *port > 65535)
        throw std::runtime_error("--port takes a number from 1 to 65535, not \"" + args[i] + "\"");
      o.port = *port;
    } else if (!folder_given && !args[i].starts_with("-")) {
      o.folder = args[i];
      folder_given = true;
    } else {
      throw std::runtime_error("unexpected argument \"" + args[i] + "\"; " + kUsage);
    }
  }
  return o;
}

void open_browser(const std::string& address) {
#ifdef _WIN32
  ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
#else
  const char* argv[] = {"xdg-open", address.c_str(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
    std::printf("(could not start a browser: open the address above yourself)\n");
    return;
  }
  // xdg-open hands the address over and ends; reaped on a thread so that nothing waits.
  std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
#endif
}

#ifdef _WIN32
std::atomic<StudioServer*> running_server{nullptr};
BOOL WINAPI on_console_event(DWORD) {
  if (StudioServer* server = running_server.load()) server->stop();
  return TRUE;
}
#endif

}  // namespace

int run_studio(const Args& args) {
  const StudioArgs o = parse_studio_args(args);
  StudioOptions options;
  options.folder = o.folder;
  options.port = o.port;
  options.slidemake_path = ss::native_file_system().executable_path();

#ifdef _WIN32
  StudioServer server(options);
  running_server = &server;
  SetConsoleCtrlHandler(on_console_event, TRUE);
#else
  // Ctrl+C and termination are taken by one waiting thread, not by a handler inside whatever
  // the server happens to run: every thread started from here on inherits the blocked set.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  StudioServer server(options);
#endif

  std::printf("slidemake studio: %s\n",
              std::filesystem::absolute(o.folder).lexically_normal().string().c_str());
  std::printf("open %s\n", server.address().c_str());
  std::printf("press Ctrl+C to stop\n");
  std::fflush(stdout);
  if (o.open) open_browser(server.address());

#ifdef _WIN32
  server.run();
  running_server = nullptr;
#else
  std::thread serving([&server] { server.run(); });
  int signal_number = 0;
  sigwait(&stop_signals, &signal_number);
  server.stop();
  serving.join();
#endif
  std::printf("studio stopped\n");
  return 0;
}

}  // namespace slidemake
