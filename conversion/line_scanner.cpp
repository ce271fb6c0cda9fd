#include "conversion/line_scanner.h"

namespace tavrin {

LineScanner::LineScanner(const std::vector<std::string>& openings) {
  std::size_t count = 0;
  for (const std::string& opening : openings) {
    if (opening.empty() || count == kOpenings) {
      all_lines_may_match_ = true;  // an empty old text would match everywhere
      break;
    }
    first_[count] = opening[0];
    second_[count] = opening.size() > 1 ? opening[1] : '\0';
    single_[count] = opening.size() == 1;
    ++count;
  }
  if (count == 0) {
    all_lines_may_match_ = all_lines_may_match_ || !openings.empty();
    first_.fill('\n');  // a line end byte never stands inside a line: no opening is found
    second_.fill('\n');
  }
  for (std::size_t k = count; k > 0 && k < kOpenings; ++k) {
    first_[k] = first_[0];
    second_[k] = second_[0];
    single_[k] = single_[0];
  }
#if defined(__SSE2__)
  for (std::size_t k = 0; k < kOpenings; ++k) {
    first_vector_[k] = _mm_set1_epi8(first_[k]);
    second_vector_[k] = _mm_set1_epi8(second_[k]);
    any_second_vector_[k] = single_[k] ? _mm_set1_epi8(static_cast<char>(0xFF)) : _mm_setzero_si128();
  }
#endif
}

bool LineScanner::OpeningAt(const char* p, const char* end) const {
  for (std::size_t k = 0; k < kOpenings; ++k) {
    if (*p == first_[k] && (single_[k] || (p + 1 != end && p[1] == second_[k]))) return true;
  }
  return false;
}

#if defined(__SSE2__)
unsigned LineScanner::FirstBytes(__m128i here) const {
  __m128i hit = _mm_cmpeq_epi8(here, first_vector_[0]);
  for (std::size_t k = 1; k < kOpenings; ++k) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(here, first_vector_[k]));
  return static_cast<unsigned>(_mm_movemask_epi8(hit));
}

unsigned LineScanner::Openings(__m128i here, __m128i after) const {
  __m128i hit = _mm_setzero_si128();
  for (std::size_t k = 0; k < kOpenings; ++k) {
    const __m128i second = _mm_or_si128(_mm_cmpeq_epi8(after, second_vector_[k]), any_second_vector_[k]);
    hit = _mm_or_si128(hit, _mm_and_si128(_mm_cmpeq_epi8(here, first_vector_[k]), second));
  }
  return static_cast<unsigned>(_mm_movemask_epi8(hit));
}
#endif

LineSpan LineScanner::Scan(const char* begin, const char* end) const {
  const char* p = begin;
  bool may_match = all_lines_may_match_;
#if defined(__SSE2__)
  // Sixteen bytes at a time; the openings are looked at only where a first byte of one stands.
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  while (end - p > 16) {
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const unsigned stops =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(here, cr), _mm_cmpeq_epi8(here, lf))));
    const unsigned before_stop = stops != 0 ? (stops & -stops) - 1 : 0xFFFFu;  // places before the first stop
    if (!may_match && (FirstBytes(here) & before_stop) != 0) {
      const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
      may_match = (Openings(here, after) & before_stop) != 0;
    }
    if (stops != 0) return {p + __builtin_ctz(stops), may_match};
    p += 16;
  }
#endif
  for (; p != end; ++p) {
    if (*p == '\r' || *p == '\n') return {p, may_match};
    may_match = may_match || OpeningAt(p, end);
  }
  return {end, may_match};
}

bool LineScanner::Unchanging(const char* begin, const char* end) const {
  if (all_lines_may_match_) return false;
  if (begin == end) return true;
  if (end[-1] != '\n') return false;
  const char* p = begin;
  bool after_cr = false;  // the byte before p is a CR
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  while (end - p > 16) {
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    if (FirstBytes(here) != 0 &&
        Openings(here, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1))) != 0) {
      return false;
    }
    const unsigned crs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, cr)));
    const unsigned lfs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, lf)));
    // Every LF right behind a CR, and behind every CR an LF.
    if (lfs != (((crs << 1) | (after_cr ? 1u : 0u)) & 0xFFFFu)) return false;
    after_cr = (crs & 0x8000u) != 0;
    p += 16;
  }
#endif
  for (; p != end; ++p) {
    if ((*p == '\n') != after_cr || OpeningAt(p, end)) return false;
    after_cr = *p == '\r';
  }
  return true;  // the text ends in an LF, so no CR is left without one
}

}  // namespace tavrin
