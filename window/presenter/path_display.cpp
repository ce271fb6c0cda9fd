#include "window/presenter/path_display.h"

#include <cstddef>
#include <vector>

#include "runtime/path_text.h"
#include "runtime/shown_text.h"

namespace tavrin {

std::string ShownPath(const std::filesystem::path& path) { return ShownText(PathText(path)); }

std::filesystem::path LexicalFolder(const std::filesystem::path& folder) {
  std::filesystem::path normal = folder.lexically_normal();
  if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
  return normal;
}

namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // "…"

bool IsSeparator(char c) {
#ifdef _WIN32
  return c == '/' || c == '\\';
#else
  return c == '/';
#endif
}

// `text` cut in its middle to fit after `prefix`: the widest prefix + start + "…" + end, with
// one character more kept at the end than at the start (a name's end tells most: its suffix,
// the line number). Cut between characters, never inside one. Empty when none fits.
std::string CutInMiddle(std::string_view prefix, std::string_view text, const TextWidth& width_of, int width) {
  std::vector<std::size_t> starts;  // byte offsets of the characters, and the end
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
  }
  const std::size_t characters = starts.size();
  starts.push_back(text.size());
  for (std::size_t kept = characters; kept-- > 0;) {
    const std::size_t front = kept / 2;
    const std::size_t back = kept - front;
    std::string candidate(prefix);
    candidate += text.substr(0, starts[front]);
    candidate += kEllipsis;
    candidate += text.substr(starts[characters - back]);
    if (width_of(candidate) <= width) return candidate;
  }
  return {};
}

}  // namespace

std::string ElidePath(std::string_view text, const TextWidth& width_of, int width) {
  if (width_of(text) <= width) return std::string(text);
  std::vector<std::size_t> separators;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsSeparator(text[i])) separators.push_back(i);
  }
  // The last name starts after the last separator that has a name after it; with what
  // follows it ("frmHaupt.frm [12]...", "Kunden/") it is kept.
  std::size_t last = std::string_view::npos;
  for (auto it = separators.rbegin(); it != separators.rend(); ++it) {
    if (*it + 1 < text.size() && !IsSeparator(text[*it + 1])) {
      last = *it;
      break;
    }
  }
  std::string shortened;
  if (last != std::string_view::npos) {
    // The folders between the first separator and the last name: [start, end) each.
    struct Span {
      std::size_t start;
      std::size_t end;
    };
    std::vector<Span> folders;
    std::size_t start = separators.front() + 1;
    for (std::size_t separator : separators) {
      if (separator <= separators.front()) continue;
      if (separator > last) break;
      if (separator > start) folders.push_back({start, separator});
      start = separator + 1;
    }
    // Ever fewer folders, as many from the front as from the back (one more in front).
    const std::size_t count = folders.size();
    for (std::size_t kept = count; kept-- > 0;) {
      const std::size_t front = (kept + 1) / 2;
      const std::size_t back = kept / 2;
      const std::size_t head_end = front == 0 ? separators.front() + 1 : folders[front - 1].end + 1;
      const std::size_t tail_start = back == 0 ? last : folders[count - back].start - 1;
      shortened = std::string(text.substr(0, head_end));
      shortened += kEllipsis;
      shortened += text.substr(tail_start);
      if (width_of(shortened) <= width) return shortened;
    }
    // Nothing before the last name.
    const std::string_view name = text.substr(last + 1);
    std::string before(kEllipsis);
    before += text[last];
    shortened = before;
    shortened += name;
    if (width_of(shortened) <= width) return shortened;
    // The last name alone is too wide: it is cut, after the narrower of the two beginnings.
    if (count == 0 && width_of(text.substr(0, last + 1)) < width_of(before)) before = text.substr(0, last + 1);
    shortened = CutInMiddle(before, name, width_of, width);
  } else {
    shortened = CutInMiddle({}, text, width_of, width);
  }
  if (!shortened.empty()) return shortened;
  return width_of(kEllipsis) <= width ? std::string(kEllipsis) : std::string();
}

}  // namespace tavrin
