#pragma once

#include "ProductVersion.h"

// Texts that name the product and its maker. The web address lives here
// alone: the start-up window shows it, the first-run marker and the
// settings file's credit line repeat it.
namespace skylane::product {

inline constexpr char kProductName[] = "Sky Lane";
inline constexpr char kMakerName[] = "Voltari Software - USA";
inline constexpr char kTitleAndVersion[] = "Sky Lane v" SKYLANE_VERSION;
// The start-up window's version line.
inline constexpr char kVersionAndDate[] = "v" SKYLANE_VERSION " - 02/2002";
inline constexpr char kMakerWebAddress[] = "https://www.example.com/skylane/";
// The settings file's credit line, before the web address.
inline constexpr char kCredit[] = "Voltari Software - ";
// The restore window's caption, its entry on the taskbar.
inline constexpr char kRestoreCaption[] = "Ulvo's Launch Bar";

} // namespace skylane::product
