#pragma once
#include <string_view>

namespace athanor {

// The codes of the hidden code field, in one place. The master code is "#" and eleven
// capitals; the field compares the upper-cased characters typed so far with each.
inline constexpr std::string_view kMasterCode = "#CROGIOLOSAL";
inline constexpr std::string_view kMaintenanceCode = "MERLODARO";
inline constexpr std::string_view kCorvellCode = "VELTRIGAN";
inline constexpr std::string_view kResetCode = "PIVONA";

// The password of a new installation.
inline constexpr std::string_view kInitialPassword = "pivona";

}  // namespace athanor
