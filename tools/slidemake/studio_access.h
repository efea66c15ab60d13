#pragma once
// Who may talk to the studio's server. It listens on the loopback address, but any page the
// browser has open can send requests there, and a hostile name can be pointed at 127.0.0.1 (DNS
// rebinding). So every request must name our host and port, a request from a page must come from
// our own origin, and every request must carry the token printed at start-up: in the address on
// the first visit, in a same-site cookie after that.
#include <optional>
#include <string>
#include <string_view>

namespace slidemake {

// 32 hex digits from the system's random source.
std::string make_access_token();

struct AccessRequest {
  std::string host;    // the Host header
  std::string origin;  // the Origin header, empty when absent
  std::string cookie;  // the Cookie header, empty when absent
  std::string token;   // the "token" parameter of the address, empty when absent
};

struct Refusal {
  int status = 403;
  std::string reason;
};

class AccessPolicy {
 public:
  AccessPolicy(int port, std::string token);

  // Nothing when the request may go on.
  std::optional<Refusal> check(const AccessRequest& request) const;
  // Whether the address carried the token, so that the response sets the cookie.
  bool token_in_address(const AccessRequest& request) const;

  const std::string& token() const { return token_; }
  std::string cookie_name() const;
  // The Set-Cookie value: only sent back to this host, never from another site's page.
  std::string set_cookie_header() const;

 private:
  bool own_host(std::string_view host) const;
  bool own_origin(std::string_view origin) const;
  bool token_in_cookie(std::string_view cookie) const;

  int port_;
  std::string token_;
};

// Compares without stopping at the first difference, so the time says nothing about the token.
bool same_secret(std::string_view a, std::string_view b);

}  // namespace slidemake
