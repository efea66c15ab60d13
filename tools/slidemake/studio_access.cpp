#include "studio_access.h"

#include <cstdio>
#include <random>

namespace slidemake {

std::string make_access_token() {
  std::random_device random;
  std::string token;
  for (int i = 0; i < 4; ++i) {
    char part[9];
    std::snprintf(part, sizeof part, "%08x", static_cast<unsigned>(random()));
    token += part;
  }
  return token;
}

bool same_secret(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  unsigned difference = 0;
  for (size_t i = 0; i < a.size(); ++i)
    difference |= static_cast<unsigned char>(a[i]) ^ static_cast<unsigned char>(b[i]);
  return difference == 0;
}

AccessPolicy::AccessPolicy(int port, std::string token) : port_(port), token_(std::move(token)) {}

std::string AccessPolicy::cookie_name() const {
  // Cookies do not tell ports apart: two studios at once must not take each other's.
  return "slidemake-studio-" + std::to_string(port_);
}

std::string AccessPolicy::set_cookie_header() const {
  return cookie_name() + "=" + token_ + "; Path=/; HttpOnly; SameSite=Strict";
}

bool AccessPolicy::own_host(std::string_view host) const {
  const std::string port = ":" + std::to_string(port_);
  return host == "127.0.0.1" + port || host == "localhost" + port;
}

bool AccessPolicy::own_origin(std::string_view origin) const {
  return origin.starts_with("http://") && own_host(origin.substr(7));
}

bool AccessPolicy::token_in_cookie(std::string_view cookie) const {
  const std::string name = cookie_name() + "=";
  while (!cookie.empty()) {
    const size_t end = cookie.find(';');
    std::string_view pair = cookie.substr(0, end);
    while (pair.starts_with(' ')) pair.remove_prefix(1);
    if (pair.starts_with(name) && same_secret(pair.substr(name.size()), token_)) return true;
    if (end == std::string_view::npos) break;
    cookie.remove_prefix(end + 1);
  }
  return false;
}

bool AccessPolicy::token_in_address(const AccessRequest& request) const {
  return same_secret(request.token, token_);
}

std::optional<Refusal> AccessPolicy::check(const AccessRequest& request) const {
  if (!own_host(request.host))
    return Refusal{403, "this server answers only to 127.0.0.1:" + std::to_string(port_)};
  if (!request.origin.empty() && !own_origin(request.origin))
    return Refusal{403, "requests from other sites are refused"};
  if (!token_in_address(request) && !token_in_cookie(request.cookie))
    return Refusal{403,
                   "open the address that \"slidemake studio\" printed; it holds the access token"};
  return std::nullopt;
}

}  // namespace slidemake
