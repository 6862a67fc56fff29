#pragma once
// Design sizes and places of the windows, in twips.
namespace common {

// The hub: a strip 960 pixels wide; its title area is 870 twips high.
constexpr int kHubLeft = 2970;
constexpr int kHubTop = 1125;
constexpr int kHubWidth = 14400;
constexpr int kHubHeight = 9000;
constexpr int kChildOffset = 870;

// The feature windows hosted below the hub's title area.
constexpr int kChildWidth = 14400;
constexpr int kChildHeight = 9750;

} // namespace common
