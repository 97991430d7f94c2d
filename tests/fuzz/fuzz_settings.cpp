// libFuzzer target for the settings reader: any bytes must read without a
// fault, and whatever was read must come back unchanged once written.
#include "settings/settingsfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    lumitakt::ClockSettings settings{QStringLiteral("rot"), QPoint(0, 0), QString(), 1};
    lumitakt::applyRead(lumitakt::parseSettings(bytes), settings);

    const QByteArray written = lumitakt::formatSettings(settings);
    if (written.size() > lumitakt::kMaxSettingsBytes)
        return 0;
    const lumitakt::SettingsRead again = lumitakt::parseSettings(written);
    if (again.look != settings.look || again.place.left != settings.place.x() || again.place.top != settings.place.y()
        || again.timeServer != settings.timeServer || again.signalMode != settings.signalMode)
        std::abort();
    return 0;
}
