#pragma once
// Finding a row by its display name: the exact, case-sensitive, whole-string match.

#include <string_view>

// The row whose display name equals text byte for byte, or -1 when none does.
int FindChannel(std::string_view text) noexcept;
