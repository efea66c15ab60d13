#include "main/linux/host_arguments.h"

#include <charconv>

#include "app/command_line.h"
#include "base/error.h"
#include "base/text.h"
#include "gfx/size_text.h"

namespace ss {
namespace {

constexpr int32_t kMaxWindowSide = 16384;

template <typename T>
std::optional<T> parse_number(std::string_view digits, int base) {
  T value{};
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, value, base);
  if (digits.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// "-name" and "--name" are the same switch; "--name=value" carries its value inside.
struct Switch {
  std::string_view name;
  std::optional<std::string_view> inline_value;
};

std::optional<Switch> as_switch(std::string_view argument) {
  if (argument.size() < 2 || argument[0] != '-') return std::nullopt;
  argument.remove_prefix(argument[1] == '-' ? 2 : 1);
  const size_t equals = argument.find('=');
  if (equals == std::string_view::npos) return Switch{argument, std::nullopt};
  return Switch{argument.substr(0, equals), argument.substr(equals + 1)};
}

class ArgumentReader {
 public:
  explicit ArgumentReader(const std::vector<std::string>& args) : args_(args) {}
  bool done() const { return next_ >= args_.size(); }
  const std::string& take() { return args_[next_++]; }
  // The switch's value: inline, or the next argument.
  std::string_view value_of(const Switch& s) {
    if (s.inline_value) return *s.inline_value;
    if (done()) throw SaverError("missing value after -" + std::string(s.name));
    return take();
  }

 private:
  const std::vector<std::string>& args_;
  size_t next_ = 0;
};

// The preview's window id in the decimal form the saver's command line reads.
void normalise_preview_handle(std::vector<std::string>& saver_args) {
  if (saver_args.size() < 2) return;
  if (select_mode(ascii_upper(saver_args[0])) != smPreview) return;
  const std::string& handle = saver_args[1];
  if (handle.size() < 2 || handle[0] != '0' || (handle[1] != 'x' && handle[1] != 'X')) return;
  if (const std::optional<uint32_t> id = parse_window_id(handle)) {
    saver_args[1] = std::to_string(*id);
  }
}

}  // namespace

std::optional<uint32_t> parse_window_id(std::string_view text) {
  std::optional<uint32_t> id;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    id = parse_number<uint32_t>(text.substr(2), 16);
  } else {
    id = parse_number<uint32_t>(text, 10);
  }
  // The saver's own command line carries handles as 32-bit signed numbers.
  if (!id || *id == 0 || *id > 0x7FFFFFFFu) return std::nullopt;
  return id;
}

std::optional<Point> parse_window_size(std::string_view text) {
  return parse_size(text, kMaxWindowSide);
}

HostArguments parse_host_arguments(const std::vector<std::string>& args,
                                   std::optional<std::string_view> xscreensaver_window) {
  HostArguments result;
  ArgumentReader reader(args);
  bool given_window = false;
  while (!reader.done()) {
    const std::string& argument = reader.take();
    const std::optional<Switch> s = as_switch(argument);
    if (s && s->name == "root" && !s->inline_value) {
      result.surface = HostSurface::kRootWindow;
      given_window = true;
    } else if (s && s->name == "window-id") {
      const std::string_view value = reader.value_of(*s);
      const std::optional<uint32_t> id = parse_window_id(value);
      if (!id) throw SaverError("not a window id: " + std::string(value));
      result.surface = HostSurface::kForeignWindow;
      result.foreign_window = *id;
      given_window = true;
    } else if (s && s->name == "window" && argument.starts_with("--")) {
      const std::string_view value = reader.value_of(*s);
      const std::optional<Point> size = parse_window_size(value);
      if (!size) throw SaverError("not a window size (WxH): " + std::string(value));
      if (!given_window) result.surface = HostSurface::kWindow;
      result.window_size = *size;
    } else {
      result.saver_args.push_back(argument);
    }
  }
  // Kept as a flag and a number: GCC's optimiser takes a copied optional for uninitialised.
  uint32_t daemon_window_id = 0;
  bool daemon_window = false;
  if (xscreensaver_window) {
    if (const std::optional<uint32_t> id = parse_window_id(*xscreensaver_window)) {
      daemon_window = true;
      daemon_window_id = *id;
    }
  }
  if (given_window) {
    // The daemon's window is the root of its hacks (a virtual root over the real one).
    if (result.surface == HostSurface::kRootWindow && daemon_window) {
      result.surface = HostSurface::kForeignWindow;
      result.foreign_window = daemon_window_id;
    }
    result.saver_args = {"/s"};
    return result;
  }

  // The daemon's window, unless the saver was asked for another mode than the show.
  const bool shows =
      result.saver_args.empty() || select_mode(ascii_upper(result.saver_args.front())) == smShow;
  if (daemon_window && shows) {
    result.surface = HostSurface::kForeignWindow;
    result.foreign_window = daemon_window_id;
    result.saver_args = {"/s"};
    return result;
  }
  // Asking for a window is asking to see the show in it.
  if (result.surface == HostSurface::kWindow && result.saver_args.empty())
    result.saver_args = {"/s"};
  normalise_preview_handle(result.saver_args);
  return result;
}

}  // namespace ss
