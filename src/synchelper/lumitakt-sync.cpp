// lumitakt-sync SERVER
//
// Sets the computer's clock once from a time server. It is the only part of
// Lumitakt that runs as root (started through pkexec, which polkit
// authorises), so it does as little as it can: it takes exactly one
// argument, accepts only a host name or an address, and replaces itself with
// the NTP client at a path fixed when it was built, with that name as the
// client's one argument and a fixed environment. Its exit status is the
// client's; 2 when the argument is refused, 127 when the client is missing.

#include "model/servername.h"

#include <unistd.h>

namespace {

constexpr int kRefused = 2;
constexpr int kNoClient = 127;

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2 || !lumitakt::isServerName(argv[1]))
        return kRefused;
    static char client[] = LUMITAKT_NTP_CLIENT;
    static char path[] = "PATH=/usr/sbin:/usr/bin:/sbin:/bin";
    static char locale[] = "LC_ALL=C";
    char *const arguments[] = {client, argv[1], nullptr};
    char *const environment[] = {path, locale, nullptr};
    ::execve(client, arguments, environment);
    return kNoClient;
}
