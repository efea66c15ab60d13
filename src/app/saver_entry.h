#pragma once
// The process entry of the saver runtime: picks the mode from the command line, changes the
// password by itself, refuses a second copy of the same saver file, and hands over to the
// preview painter, the setup dialog or the show form. It never shows anything of its own and
// swallows every error of its own steps.
#include <string>
#include <vector>

#include "platform/platform.h"

namespace ss {

// The guard's name: the executable's file name, extension included, followed by "Semaphore".
std::string instance_guard_name(const std::string& executable_path, const LeadBytes& lead = {});

// Runs the saver for the arguments after the program name. The exit code is 0 on every path.
int run_saver(const std::vector<std::string>& args, Platform& platform);

}  // namespace ss
