#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace tavrin {

// The two sides of the window: the source (Drive1, Dir1, lbPrj) and the target (Drive2, Dir2,
// lbCr).
enum class Side { kSource, kTarget };

// What the presenter needs of a window: its controls, without a toolkit. Texts are UTF-8, ready
// to show (names already escaped). A view forwards its controls' events to the presenter's
// handlers, those raised by the operations below included, before the operation returns.
class WindowView {
 public:
  virtual ~WindowView() = default;

  // The window's caption.
  virtual void SetCaption(std::string_view text) = 0;

  // The folder a folder list shows: absolute, without a separator at the end (but a root).
  virtual std::filesystem::path Folder(Side side) const = 0;
  // Shows `path` (absolute, or relative to the folder shown: ".." is the folder above). Raises
  // the list's change (Dir1_Change, Dir2_Change) when the folder shown changes. Returns false,
  // changing nothing, when `path` names no folder.
  virtual bool SetFolder(Side side, const std::filesystem::path& path) = 0;
  // Rereads the folder list from the disk. Its folder stays; one that is gone gives way to the
  // nearest folder above it, and the list's change is raised. Returns whether it was raised.
  virtual bool RefreshFolder(Side side) = 0;

  // The drive a drive list shows.
  virtual std::filesystem::path Drive(Side side) const = 0;
  // Shows the drive that holds `folder`, without raising the list's change.
  virtual void ShowDriveOf(Side side, const std::filesystem::path& folder) = 0;
  // Puts `drives` (in this order) into both drive lists, without raising a list's change; a
  // list keeps the drive it shows when that is still among them. A view that reads its drives
  // itself may leave this as it is.
  virtual void ShowDrives(const std::vector<std::filesystem::path>& /*drives*/) {}

  // lbPrj (source) or lbCr (target): its text colour (a Colour value, see colours.h), then its
  // text.
  virtual void ShowAnswer(Side side, std::string_view text, std::uint32_t colour) = 0;
  // The status bar's single text.
  virtual void SetStatusText(std::string_view text) = 0;
  // lbInfo's text, repainted at once.
  virtual void SetInfoText(std::string_view text) = 0;

  // The page of SSTab1 in front, from 0.
  virtual int Page() const = 0;
  // Brings `page` to the front; raises SSTab1_Click when the page in front changes.
  virtual void SetPage(int page) = 0;

  // Whether btnConvert(0) can be clicked.
  virtual bool ConvertEnabled() const = 0;
  virtual void SetConvertEnabled(bool enabled) = 0;

  // The busy pointer over the window while a pass runs (true), or the normal one.
  virtual void SetBusyPointer(bool busy) = 0;

  // Closes the window.
  virtual void Close() = 0;
};

}  // namespace tavrin
