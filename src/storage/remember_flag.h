#pragma once

#include "profile/profile_format.h"
#include "runtime/result.h"

#include <optional>
#include <string>

namespace orvane {

// The remember flag: key "记住配置" of section "配置" in the information
// file, "真" or "假".

// True exactly for "真", byte for byte.
bool IsTrueText(const std::string& text);

// Whether the applicants are to be loaded at start, from the file's items:
// a stored "真", or no flag at all (no file, no section or no key).
bool RememberFlagIn(const std::optional<ProfileItems>& items);

// Stores the flag, keeping everything else in the file; a file that cannot
// be read is left alone.
Result<> WriteRememberFlag(const std::string& file, bool remember);

} // namespace orvane
