#pragma once
// The sub-commands of slidemake. Each takes the arguments after its name and returns the exit code.
#include <string>
#include <vector>

namespace slidemake {

using Args = std::vector<std::string>;

int run_build(const Args& args);
int run_inspect(const Args& args);
int run_extract(const Args& args);
int run_frame(const Args& args);
int run_transition(const Args& args);
int run_catalogue(const Args& args);
int run_record(const Args& args);
int run_studio(const Args& args);

}  // namespace slidemake
