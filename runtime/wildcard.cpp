#include "runtime/wildcard.h"

#include <cstddef>

#include "runtime/letter_case.h"

namespace tavrin {
namespace {

// Greedy matching that remembers only the last "*": when a later part fails, that star takes
// one more byte and matching resumes behind it. Earlier stars never need to be revisited, so
// the cost is at most pattern length times name length, whatever the pattern.
bool MatchesPlain(std::string_view pattern, std::string_view name) {
  constexpr std::size_t kNoStar = std::string_view::npos;
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t star = kNoStar;  // position of the last "*" seen in the pattern
  std::size_t star_name = 0;   // where in the name that star's run currently ends
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_name = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || AsciiLower(pattern[p]) == AsciiLower(name[n]))) {
      ++p;
      ++n;
    } else if (star != kNoStar) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  if (MatchesPlain(pattern, name)) return true;
  // As on the system the projects come from, a trailing ".*" also stands for "no suffix at
  // all": "*.*" takes every name, "Form1.*" also takes "Form1".
  constexpr std::string_view kAnySuffix = ".*";
  if (pattern.ends_with(kAnySuffix)) {
    return MatchesPlain(pattern.substr(0, pattern.size() - kAnySuffix.size()), name);
  }
  return false;
}

}  // namespace tavrin
