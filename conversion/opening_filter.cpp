#include "conversion/opening_filter.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "runtime/letter_case.h"

namespace tavrin {
namespace {

// The byte itself and, when letter case is ignored and it is an ASCII letter, its other case.
std::vector<unsigned char> Variants(char c, bool ignore_case) {
  const auto byte = static_cast<unsigned char>(c);
  std::vector<unsigned char> variants{byte};
  if (!ignore_case) return variants;
  const char lower = AsciiLower(c);
  const char other = lower != c ? lower : AsciiUpper(c);
  if (other != c) variants.push_back(static_cast<unsigned char>(other));
  return variants;
}

}  // namespace

OpeningFilter::OpeningFilter(const std::vector<Opening>& openings) {
  for (const Opening& opening : openings) {
    if (opening.text.empty()) {  // an empty old text would stand everywhere
      first_.set();
      pair_.set();
      continue;
    }
    for (unsigned char first : Variants(opening.text[0], opening.ignore_case)) {
      first_.set(first);
      if (opening.text.size() == 1) {
        for (std::size_t second = 0; second < 256; ++second) pair_.set(first * 256u + second);
        continue;
      }
      for (unsigned char second : Variants(opening.text[1], opening.ignore_case)) pair_.set(first * 256u + second);
    }
  }
  std::size_t tracked = 0;
  for (std::size_t byte = 0; byte < 256; ++byte) {
    if (!first_.test(byte)) continue;
    if (tracked == kVectorFirstBytes) {
      vector_every_byte_ = true;
      break;
    }
    vector_first_[tracked++] = static_cast<char>(byte);
  }
  // Unused places repeat a tracked byte; with none at all, a line end byte, which the scan
  // stops at anyway.
  for (std::size_t k = tracked; k < kVectorFirstBytes; ++k) vector_first_[k] = tracked > 0 ? vector_first_[0] : '\n';
}

bool OpeningFilter::OpeningAt(const char* p, const char* end) const {
  const auto first = static_cast<unsigned char>(*p);
  if (!first_.test(first)) return false;
  if (p + 1 == end) return true;
  return pair_.test(first * 256u + static_cast<unsigned char>(p[1]));
}

const char* OpeningFilter::NextStop(const char* p, const char* end, bool every_line_end) const {
  bool after_cr = false;  // the byte before p is a CR of this scan
#if defined(__SSE2__)
  // Sixteen bytes at a time: line end bytes and first bytes of old texts as bit masks. The
  // vector part only finds places; whether an old text may start at one is OpeningAt's answer.
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  __m128i firsts[kVectorFirstBytes];
  for (std::size_t k = 0; k < kVectorFirstBytes; ++k) firsts[k] = _mm_set1_epi8(vector_first_[k]);
  while (end - p > 16) {
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const auto crs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, cr)));
    const auto lfs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, lf)));
    unsigned stops = crs | lfs;
    if (!every_line_end) {
      // A CR must have an LF right behind it, and an LF a CR right before it.
      const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
      const auto lf_after = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(after, lf)));
      const unsigned cr_before = ((crs << 1) | (after_cr ? 1u : 0u)) & 0xFFFFu;
      stops = (crs & ~lf_after) | (lfs & ~cr_before);
    }
    unsigned first_bytes = 0xFFFFu;
    if (!vector_every_byte_) {
      __m128i hit = _mm_cmpeq_epi8(here, firsts[0]);
      for (std::size_t k = 1; k < kVectorFirstBytes; ++k) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(here, firsts[k]));
      first_bytes = static_cast<unsigned>(_mm_movemask_epi8(hit));
    }
    for (unsigned places = stops | first_bytes; places != 0; places &= places - 1) {
      const int i = __builtin_ctz(places);
      if ((stops >> i) & 1u || OpeningAt(p + i, end)) return p + i;
    }
    after_cr = (crs & 0x8000u) != 0;
    p += 16;
  }
#endif
  for (; p != end; ++p) {
    if (*p == '\r') {
      if (every_line_end || p + 1 == end || p[1] != '\n') return p;
      after_cr = true;
      continue;
    }
    if (*p == '\n') {
      if (every_line_end || !after_cr) return p;
      after_cr = false;
      continue;
    }
    after_cr = false;
    if (OpeningAt(p, end)) return p;
  }
  return end;
}

}  // namespace tavrin
