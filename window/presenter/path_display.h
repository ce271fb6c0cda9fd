#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace tavrin {

// How the window shows and tidies paths, without a toolkit.

// `path` as the window shows it, UTF-8: control characters and bytes that are not valid UTF-8
// written as escapes (see ShownText), so a name is always one line and two different names
// never look alike.
std::string ShownPath(const std::filesystem::path& path);

// `folder` with "." and ".." worked out by its text (a link keeps the name it was reached by)
// and without a separator at the end, except for a root.
std::filesystem::path LexicalFolder(const std::filesystem::path& folder);

// The width of a UTF-8 text as a view draws it, in the view's unit (pixels).
using TextWidth = std::function<int(std::string_view)>;

// The one rule by which the window shortens a text too wide for its place (the status bar,
// lbInfo), UTF-8 in and out; a text that fits stays as it is. A text that holds a path
// ("Bearbeite: /home/anna/Ziel/frmHaupt.frm [12]...", "/home/anna/Projekte/Kunden/") loses
// whole folder names from the middle of the path, which then stand as one "…", as many from
// the front as from the back (one more kept in front): "Bearbeite: /home/…/Ziel/frmHaupt.frm
// [12]...". When even the path's root (with what comes before it) and its last name do not fit,
// everything before the last name goes ("…/frmHaupt.frm [12]..."); only when the last name with
// what follows it is too wide by itself is it cut, in its middle ("…/frmHa…pt.frm [12]...").
// A text without a path is cut in its middle. The result is never wider than `width`, which
// leaves "…" alone, or nothing when not even that fits.
std::string ElidePath(std::string_view text, const TextWidth& width_of, int width);

}  // namespace tavrin
