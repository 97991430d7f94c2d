#include "model/internetaddress.h"

#include <ws2tcpip.h>

namespace lumitakt {

bool isInternetAddress(const char *text)
{
    unsigned char address[16];
    return inet_pton(AF_INET, text, address) == 1 || inet_pton(AF_INET6, text, address) == 1;
}

} // namespace lumitakt
