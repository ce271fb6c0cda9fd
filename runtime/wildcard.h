#pragma once

#include <string_view>

namespace tavrin {

// Matches a file name against a listing wildcard: "*" stands for any run of bytes, "?" for
// exactly one byte, every other byte for itself without regard to ASCII letter case.
// "*.*" matches every name, also one without a dot.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

}  // namespace tavrin
