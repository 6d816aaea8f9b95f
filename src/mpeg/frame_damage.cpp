#include "mpeg/frame_damage.h"

#include <cstdio>

namespace mpeg {

namespace {

constexpr std::string_view kDamage = "auch nach +2 Mist:";

std::string figures(const FrameDamage& damage)
{
    const HeaderWord word = damage.word;
    char text[256];
    std::snprintf(text, sizeof text, "offset: %x, wert: %x, flen: %x     %i  %i  %i       (%i %i %i)",
                  static_cast<unsigned>(damage.offset), static_cast<unsigned>(word),
                  static_cast<unsigned>(damage.frameLength), coefficientK(word), bitrateKbps(word), sampleRate(word),
                  versionField(word), sampleRateIndex(word), bitrateIndex(word));
    return text;
}

}  // namespace

std::string listedDespiteDamageText(std::string_view fileName, const FrameDamage& damage)
{
    std::string text = "'";
    text.append(fileName).append("':\t").append(kDamage).append("\r\n").append(figures(damage));
    text.append("\r\nwird trotzdem gelistet (Frameanz+Zeit falsch)");
    return text;
}

std::string repairDamageText(const FrameDamage& damage)
{
    return std::string(kDamage) + " " + figures(damage);
}

}  // namespace mpeg
