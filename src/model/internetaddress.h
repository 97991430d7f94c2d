#pragma once

namespace lumitakt {

// Whether `text` is an IPv4 or IPv6 address as the system's own inet_pton
// reads it; one file per system (internetaddress_posix.cpp,
// internetaddress_windows.cpp), for the header each needs.
bool isInternetAddress(const char *text);

} // namespace lumitakt
