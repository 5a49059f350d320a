#pragma once

#include <string>

// The remember flag: key "记住配置" of section "配置" in the information
// file, "真" or "假".

// True exactly for "真", byte for byte.
bool IsTrueText(const std::string& text);

// Whether the applicants are to be loaded at start: a stored "真", or no
// flag at all (no file, no section or no key).
bool RememberFlagIsSet(const std::string& file);

// Stores the flag, keeping everything else in the file. False on failure.
bool WriteRememberFlag(const std::string& file, bool remember);
