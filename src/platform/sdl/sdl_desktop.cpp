#include "platform/sdl/sdl_desktop.h"

#include <SDL2/SDL.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <thread>

extern char** environ;

namespace ss {

bool spawn_detached(const std::string& program, const std::string& argument) {
  std::string program_copy = program;
  std::string argument_copy = argument;
  char* argv[] = {program_copy.data(), argument_copy.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
  // The opener usually hands over to a browser and ends soon; nobody waits for its answer.
  std::thread([pid] {
    int status = 0;
    ::waitpid(pid, &status, 0);
  }).detach();
  return true;
}

SdlDesktop::~SdlDesktop() {
  if (hand_ != nullptr) SDL_FreeCursor(hand_);
}

void SdlDesktop::show_error(const std::string& title, const std::string& text) {
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr) != 0)
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

bool SdlDesktop::ask_yes_no(const std::string& title, const std::string& text) {
  const SDL_MessageBoxButtonData buttons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
  };
  const SDL_MessageBoxData box{SDL_MESSAGEBOX_INFORMATION, nullptr, title.c_str(), text.c_str(),
                               SDL_arraysize(buttons),     buttons, nullptr};
  int chosen = 0;
  if (SDL_ShowMessageBox(&box, &chosen) != 0) {
    std::fprintf(stderr, "%s: %s (no answer possible: taken as No)\n", title.c_str(), text.c_str());
    return false;
  }
  return chosen == 1;
}

void SdlDesktop::shell_open(intptr_t, const std::string& target) {
  // The text comes from the package: it is handed over as one argument and may not pose as
  // an option of the opener.
  if (target.empty() || target.front() == '-') return;
  spawn_detached(opener_, target);
}

Point SdlDesktop::cursor_pos() {
  int x = 0;
  int y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  return {x, y};
}

void SdlDesktop::show_cursor(bool show) {
  cursor_count_ += show ? 1 : -1;
  SDL_ShowCursor(cursor_count_ >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

void SdlDesktop::set_hand_cursor(bool hand) {
  if (hand && hand_ == nullptr) hand_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
  if (hand && hand_ != nullptr) {
    SDL_SetCursor(hand_);
  } else {
    SDL_SetCursor(SDL_GetDefaultCursor());
  }
}

}  // namespace ss
