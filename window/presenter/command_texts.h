#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tavrin {

// The texts of the two information boxes of the toolbar and the "&Über..." button. Lines are
// joined by CR LF, with no line end after the last; texts are UTF-8.

inline constexpr std::string_view kInformationTitle = "Information";

// The about message: what the tool does, then the year and the maker.
std::string AboutText();

// The summary of the selection: the two folder paths as the folder lists give them (with
// their trailing separator) and whether a conversion would run ("ja" or "nein").
std::string SelectionSummaryText(const std::filesystem::path& source, const std::filesystem::path& target,
                                 bool conversion_possible);

}  // namespace tavrin
