#include "model/servername.h"

#include "model/internetaddress.h"

#include <string>

namespace lumitakt {

namespace {

constexpr std::size_t kMaxName = 253;
constexpr std::size_t kMaxLabel = 63;

bool isAddress(std::string_view name)
{
    const std::string text(name); // the system wants the text to end in NUL
    return isInternetAddress(text.c_str());
}

bool isLabelCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

bool isHostName(std::string_view name)
{
    // A fully qualified name may end in a dot (pool.ntp.org.).
    if (name.size() > 1 && name.back() == '.')
        name.remove_suffix(1);
    if (name.empty() || name.size() > kMaxName)
        return false;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = name.find('.', start);
        const std::string_view label = name.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
        if (label.empty() || label.size() > kMaxLabel || label.front() == '-' || label.back() == '-')
            return false;
        for (const char c : label)
            if (!isLabelCharacter(c))
                return false;
        if (dot == std::string_view::npos)
            return true;
        start = dot + 1;
    }
}

} // namespace

bool isServerName(std::string_view name)
{
    if (name.find('\0') != std::string_view::npos)
        return false;
    return isHostName(name) || isAddress(name);
}

} // namespace lumitakt
