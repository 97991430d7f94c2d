#pragma once

#include <string_view>

namespace lumitakt {

// Whether a text can name a time server: a host name (letters, digits and
// hyphens in labels of 1 to 63 characters joined by dots, no label starting
// or ending with a hyphen, 253 characters at most, a dot at the end
// allowed as in a fully qualified name) or an IPv4 or IPv6
// address. Anything else (blanks, shell characters, slashes, a leading
// hyphen that a program would take for an option) is no server name. Plain
// C++, so that the helper that sets the clock as root needs nothing more.
bool isServerName(std::string_view name);

} // namespace lumitakt
