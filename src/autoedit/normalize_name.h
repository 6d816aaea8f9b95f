#pragma once

#include "platform/repair_settings.h"

#include <string>
#include <string_view>

namespace autoedit {

// Turns a tag text (Windows-1252) into a word sequence fit for a file name:
// capitalised words joined by "_" or " ", accents spelt out, "&" and "and"
// as "n", featuring and versus forms unified, II/III/IV as digits,
// unwelcome characters dropped. The naming rules switch groups of these
// rules.
std::string NormalizeName(std::string_view text, const platform::NamingRules& rules);

}  // namespace autoedit
