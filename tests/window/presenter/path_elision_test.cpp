// The one rule by which the window shortens a path too wide for its place: whole folders from
// the middle first, then everything before the last name, and only a last name too wide by
// itself is cut. Measured here in characters, one unit each.
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <string_view>
#include <vector>

#include "window/presenter/path_display.h"

namespace {

const std::string kDots = "\xE2\x80\xA6";  // "…"

// One unit per character (UTF-8 continuation bytes do not count).
int Characters(std::string_view text) {
  int count = 0;
  for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

std::string Elide(std::string_view text, int width) { return tavrin::ElidePath(text, Characters, width); }

// The pieces of `text` between separators.
std::vector<std::string> Pieces(const std::string& text) {
  std::vector<std::string> pieces(1);
  for (char c : text) {
    if (c == '/')
      pieces.emplace_back();
    else
      pieces.back() += c;
  }
  return pieces;
}

// Given exactly the room of the expected text, that text comes out: whole folders go before
// anything is cut, and only the last name is ever cut.
TEST(PathElision, WholeFoldersGoFirstAndOnlyALastNameTooWideIsCut) {
  const std::string deep = "/home/anna/Projekte/Kunden/Alt/Ziel/";
  const std::string long_last = "/home/anna/Ein_sehr_langer_Verzeichnisname/";
  const std::string caption = "Bearbeite: /work/alpha/beta/Ziel/frmHaupt.frm [12]...";
  const struct {
    std::string text;
    std::string expected;
  } cases[] = {
      {deep, deep},  // fits
      {deep, "/home/anna/" + kDots + "/Kunden/Alt/Ziel/"},  // one folder out
      {deep, "/home/" + kDots + "/Alt/Ziel/"},               // several folders out
      {deep, "/" + kDots + "/Ziel/"},                         // every folder out
      // The last folder alone is too long for the root and a folder in front of it.
      {long_last, kDots + "/Ein_sehr_langer_Verzeichnisname/"},
      // ... and for any room short of its whole name: cut in its middle, one more at the end.
      {long_last, kDots + "/Ein_sehr" + kDots + "hnisname/"},
      {caption, "Bearbeite: /work/" + kDots + "/Ziel/frmHaupt.frm [12]..."},
      {caption, kDots + "/frmHaupt.frm [12]..."},
      {caption, kDots + "/frmHau" + kDots + "[12]..."},
      // A relative path keeps its first name; a name directly below the root keeps the root.
      {"Bearbeite: Ziel/a/b/f.frm [3]...", "Bearbeite: Ziel/" + kDots + "/f.frm [3]..."},
      {"/Kunden-mit-einem-recht-langen-Namen.frm", "/Kunden-mit-" + kDots + "en-Namen.frm"},
      {"/alpha//beta/gamma/f.frm", "/alpha/" + kDots + "/gamma/f.frm"},
      // No path: cut in its middle.
      {"Bearbeite: Kunden.vbp...", "Bearbeite" + kDots + "den.vbp..."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(Elide(c.text, Characters(c.expected)), c.expected);
  }
}

// Whatever the room: the result fits it, shows "…" when shortened, and every piece of it but
// the last name is a whole name of the text, or "…".
TEST(PathElision, EveryRoomGetsWholeNamesOnly) {
  for (const std::string text : {"/home/anna/Projekte/Kunden/Alt/Ziel/", "/home/anna/Ein_sehr_langer_Name/",
                                 "Bearbeite: /work/ä/ßeta/Zïel/frmHaupt.frm [12]...", "////"}) {
    const std::vector<std::string> names = Pieces(text);
    for (int width = 0; width <= Characters(text); ++width) {
      SCOPED_TRACE(text + " at " + std::to_string(width));
      const std::string shown = Elide(text, width);
      EXPECT_LE(Characters(shown), width);
      if (shown != text && width >= 1) {
        EXPECT_NE(shown.find(kDots), std::string::npos);
      }
      if (width == 0) {
        EXPECT_EQ(shown, "");
      }
      std::vector<std::string> pieces = Pieces(shown);
      while (!pieces.empty() && pieces.back().empty()) pieces.pop_back();
      for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
        const bool whole = pieces[i] == kDots || std::find(names.begin(), names.end(), pieces[i]) != names.end();
        EXPECT_TRUE(whole) << pieces[i];
      }
    }
    EXPECT_EQ(Elide(text, Characters(text)), text);
  }
}

}  // namespace
