#pragma once

#include "applicants.h"

#include <chrono>
#include <optional>
#include <string>

namespace orvane {

// What is wrong with a field, in words for the user, before it reaches the
// bank. Pure checks: they never block typing, copying, saving or loading,
// and an empty field has no finding.

// Beijing's date today, whatever this computer's zone: ID numbers hold
// mainland birth dates.
std::chrono::year_month_day Today();

// A mainland ID number (GB 11643): 18 characters, the first 17 digits, a
// birth date in characters 7-14 that exists, lies between 1900 and today,
// and a last character that is the ISO 7064 MOD 11-2 check character of
// the first 17 ("x" counts as "X"). A 15-digit number is an old card's.
std::optional<std::string> IdNumberFinding(const std::string& text,
                                           std::chrono::year_month_day today);

// A mainland mobile number: 11 digits, "1" then 3 to 9.
std::optional<std::string> PhoneFinding(const std::string& text);

// Blanks of any kind at either end (TrimAnyBlanks): invisible in the box,
// and left out of a copy.
std::optional<std::string> BlanksFinding(const std::string& text);

// Every finding for one field, a line each, including an ID number that
// another group holds too.
std::optional<std::string> FieldFinding(const Applicants& applicants, int group,
                                        const std::string& key, std::chrono::year_month_day today);

} // namespace orvane
