#include "window/qt/path_elision.h"

#include <vector>

namespace tavrin {
namespace {

const QString kEllipsis(QChar(0x2026));

bool IsSeparator(QChar c) {
#ifdef _WIN32
  return c == QLatin1Char('/') || c == QLatin1Char('\\');
#else
  return c == QLatin1Char('/');
#endif
}

// A folder name between two separators: text[start, end).
struct Span {
  qsizetype start;
  qsizetype end;
};

}  // namespace

QString ElidePathInMiddle(const QString& text, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(text) <= width) return text;

  std::vector<qsizetype> separators;
  for (qsizetype i = 0; i < text.size(); ++i)
    if (IsSeparator(text[i])) separators.push_back(i);
  // The last name starts after the last separator that has a name after it; with what
  // follows it, it is kept ("/frmHaupt.frm [12]...", "/Kunden/").
  qsizetype last = -1;
  for (auto it = separators.rbegin(); it != separators.rend(); ++it) {
    if (*it + 1 < text.size() && !IsSeparator(text[*it + 1])) {
      last = *it;
      break;
    }
  }
  std::vector<Span> folders;
  if (last > 0 && !separators.empty() && separators.front() < last) {
    qsizetype start = separators.front() + 1;
    for (qsizetype separator : separators) {
      if (separator <= separators.front()) continue;
      if (separator > last) break;
      folders.push_back({start, separator});
      start = separator + 1;
    }
  }

  // Keep ever fewer folders, as many from the front as from the back (one more in front).
  const auto count = static_cast<qsizetype>(folders.size());
  for (qsizetype kept = count - 1; kept >= 0; --kept) {
    const qsizetype front = (kept + 1) / 2;
    const qsizetype back = kept / 2;
    const qsizetype head_end = front == 0 ? separators.front() + 1 : folders[front - 1].end + 1;
    const qsizetype tail_start = back == 0 ? last : folders[count - back].start - 1;
    const QString shortened = text.left(head_end) + kEllipsis + text.mid(tail_start);
    if (metrics.horizontalAdvance(shortened) <= width) return shortened;
  }
  return metrics.elidedText(text, Qt::ElideMiddle, width);
}

}  // namespace tavrin
