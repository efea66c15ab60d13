#pragma once
// File names in the order people number them: "2.jpg" before "10.jpg", case aside.
#include <string_view>

namespace slidemake {

bool natural_less(std::string_view a, std::string_view b);

}  // namespace slidemake
