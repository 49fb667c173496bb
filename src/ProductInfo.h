#pragma once

// Texts that name the product and its maker. The web address lives here
// alone: the start-up window shows it, the first-run marker and the
// settings file's credit line repeat it.
namespace skylane::product {

inline constexpr char kMakerName[] = "Voltari Software - USA";
inline constexpr char kTitleAndVersion[] = "Sky Lane v2.0";
inline constexpr char kMakerWebAddress[] = "https://www.example.com/skylane/";

} // namespace skylane::product
