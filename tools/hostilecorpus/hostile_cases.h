#pragma once
// The hostile packages and what each must lead to. Outcome words (also in the index file):
//   inspect: "ok" (read, warnings allowed) | "warn:<text in a warning>" | "error:<text in the
//   error>" show:    "shows" (no error) | "terminates" (settings unreadable: the application is
//   asked to
//            end, no error shown) | "quiet" (no trailer: nothing happens) | "error:<exact text>"
//   setup:   "title" (the saver's title shown) | "unfilled" (no texts, no error) |
//            "error:<exact text>" (reported; no texts)
//   created: how many files the show creates in the temporary directory (all deleted again).
#include <string>
#include <vector>

#include "hostile_saver.h"

namespace hostile {

struct HostileCase {
  std::string name;
  std::string about;
  Bytes bytes;
  std::string inspect;
  std::string show;
  int created = 0;
  std::string setup;
};

std::vector<HostileCase> hostile_cases();

}  // namespace hostile
