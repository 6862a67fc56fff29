#pragma once
// Long fixed texts and pictures embedded at build time from the files under src/resources.
#include <optional>
#include <string_view>

namespace resources {
// The bytes of the resource at a path relative to src/resources, or nothing when absent.
std::optional<std::string_view> find(std::string_view name);
// The bytes of the resource, or an empty view when absent.
std::string_view get(std::string_view name);
} // namespace resources
