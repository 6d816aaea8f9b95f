#include "cli/cover_font.h"

#include "cli/usage.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace cli {

namespace {

constexpr double kPointsPerInch = 72;

// "DejaVu Sans, 14" reads as well as "DejaVu Sans,14".
std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

double parsePoints(std::string_view text)
{
    double points = 0;
    const char* end = text.data() + text.size();
    const auto [stop, failed] = std::from_chars(text.data(), end, points, std::chars_format::fixed);
    if (text.empty() || failed != std::errc() || stop != end || !(points > 0) || points > CoverFont::kMaxPoints)
        throw UsageError("--font takes a point size above 0 and up to 1000 after the comma, not '" + std::string(text) +
                         "'");
    return points;
}

}  // namespace

CoverFont parseCoverFont(std::string_view text)
{
    CoverFont font;
    const auto comma = text.rfind(',');
    if (comma != std::string_view::npos)
        font.points = parsePoints(trimmed(text.substr(comma + 1)));
    font.family = std::string(trimmed(text.substr(0, comma)));
    if (font.family.empty())
        throw UsageError("--font needs a font family: --font \"FAMILY[,POINTS]\"");
    return font;
}

view::FontDescription coverFontDescription(const CoverFont& font, int verticalDpi)
{
    view::FontDescription description;
    description.face = font.family;
    const long pixels = std::lround(font.points * verticalDpi / kPointsPerInch);
    description.height = -static_cast<int>(std::max(1L, pixels));
    return description;
}

}  // namespace cli
