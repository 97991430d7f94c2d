#pragma once

#include <QPoint>
#include <QString>

#include <cstdint>
#include <tuple>
#include <type_traits>

namespace lumitakt {

// How the alarm sounds, as the settings file holds it: once, or again on
// every tick (so does any number other than these two that a file holds).
constexpr std::int16_t kSignalRepeat = 0;
constexpr std::int16_t kSignalOnce = 1;

// A setting held as its value.
template <typename T>
using SettingValue = T;

// A setting's default where `Field` holds the value itself; an empty field
// (nothing read yet) otherwise.
template <template <typename> class Field, typename T>
Field<T> byDefault(T value)
{
    if constexpr (std::is_same_v<Field<T>, T>)
        return value;
    else
        return Field<T>();
}

// What the user chooses and the program keeps between runs, each setting
// declared here once, with its default. `Field` says how each is held:
// ClockSettings holds the values; the settings file's reader, SettingsRead,
// each value only where the file gave one. A new setting is added here and
// to the file's reader and writer.
template <template <typename> class Field>
struct SettingsOf {
    Field<QString> look = byDefault<Field>(QStringLiteral("rot")); // the look's name as the file holds it
    Field<QPoint> place = byDefault<Field>(QPoint());               // the window's top left corner, pixels
    Field<QString> timeServer = byDefault<Field>(QString());        // empty: none
    Field<std::int16_t> signalMode = byDefault<Field>(kSignalOnce);

    // Every setting, in the order above, for what treats each one alike. The
    // binding fails to compile once a setting is added and not listed here.
    auto fields() const
    {
        const auto &[a, b, c, d] = *this;
        return std::tie(a, b, c, d);
    }
    auto fields()
    {
        auto &[a, b, c, d] = *this;
        return std::tie(a, b, c, d);
    }

    bool operator==(const SettingsOf &) const = default;
};

using ClockSettings = SettingsOf<SettingValue>;

} // namespace lumitakt
