#include "clockface/digits.h"

namespace lumitakt {

namespace {
constexpr std::array<const char16_t *, 10> kPatterns{
    u"1110111", // 0
    u"0010010", // 1
    u"1011101", // 2
    u"1011011", // 3
    u"0111010", // 4
    u"1101011", // 5
    u"1101111", // 6 with the top bar
    u"1010010", // 7 without the upper left bar
    u"1111111", // 8
    u"1111011", // 9 with the bottom bar
};
} // namespace

QString DezToBCD(std::int16_t Wert)
{
    if (Wert < 0 || Wert > 9)
        return {};
    return QString::fromUtf16(kPatterns[static_cast<std::size_t>(Wert)]);
}

std::int16_t digitValue(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') ? static_cast<std::int16_t>(u - u'0') : std::int16_t{0};
}

bool segmentLit(const QString &pattern, int j)
{
    return j >= 1 && j <= pattern.size() && pattern.at(j - 1) == u'1';
}

} // namespace lumitakt
