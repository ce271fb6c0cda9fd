#include "conversion/line_scanner.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavrin {

LineScanner::LineScanner(const std::vector<std::string>& openings) {
  if (openings.size() > kMostOpenings) {
    all_lines_may_match_ = true;
    return;
  }
  for (const std::string& opening : openings) {
    if (opening.empty()) {
      all_lines_may_match_ = true;  // an empty old text would match everywhere
      continue;
    }
    first_[count_] = opening[0];
    second_[count_] = opening.size() > 1 ? opening[1] : '\0';
    single_[count_] = opening.size() == 1;
    ++count_;
  }
}

LineSpan LineScanner::Scan(const char* begin, const char* end) const {
  const char* p = begin;
  bool may_match = all_lines_may_match_;
#if defined(__SSE2__)
  // Sixteen bytes at a time: one mask for CR or LF, one for the openings (a byte and the byte
  // after it, so the second load reaches one byte further).
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  while (end - p > 16) {
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
    const unsigned stops =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(here, cr), _mm_cmpeq_epi8(here, lf))));
    __m128i opening = _mm_setzero_si128();
    for (std::size_t k = 0; k < count_; ++k) {
      __m128i hit = _mm_cmpeq_epi8(here, _mm_set1_epi8(first_[k]));
      if (!single_[k]) hit = _mm_and_si128(hit, _mm_cmpeq_epi8(after, _mm_set1_epi8(second_[k])));
      opening = _mm_or_si128(opening, hit);
    }
    const unsigned openings = static_cast<unsigned>(_mm_movemask_epi8(opening));
    if (stops != 0) {
      const unsigned before_stop = (stops & -stops) - 1;  // the bits below the first stop
      return {p + __builtin_ctz(stops), may_match || (openings & before_stop) != 0};
    }
    may_match = may_match || openings != 0;
    p += 16;
  }
#endif
  for (; p != end; ++p) {
    if (*p == '\r' || *p == '\n') return {p, may_match};
    for (std::size_t k = 0; k < count_ && !may_match; ++k) {
      may_match = *p == first_[k] && (single_[k] || (p + 1 != end && p[1] == second_[k]));
    }
  }
  return {end, may_match};
}

}  // namespace tavrin
