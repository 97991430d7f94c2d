#pragma once

#include <QString>

#include <cstdint>

namespace lumitakt {

inline constexpr char16_t kDefaultFarbSchema[] = u"rot";
inline constexpr std::int16_t kDefaultSignalModus = 1;

// The program-wide state, owned by main() and outliving every window. The
// names are the domain's own German words:
struct SharedState {
    QString FarbSchema = QString::fromUtf16(kDefaultFarbSchema); // colour scheme name
    std::int32_t FensterLinks = 0;                               // window left, twips
    std::int32_t FensterOben = 0;                                // window top, twips
    QString Zeitserver;                                          // time server; empty: none
    std::int16_t SignalModus = kDefaultSignalModus;              // 1 sound once, else repeated
    QString TerminZeit;                                          // appointment time "hh:mm"
    QString TerminText;                                          // appointment note
    bool TerminGesetzt = false;                                  // an appointment is set
    bool TerminQuittiert = false;                                // its alarm was acknowledged
    bool TerminGemeldet = false;                                 // the single sound was given
    std::int16_t TerminModus = 0;                                // dialog face: 1 enter, 2 alarm, 3 signal
    bool StopuhrLaeuft = false;                                  // stopwatch running
    bool StopuhrAngehalten = false;                              // stopwatch halted
    QString IniDatei;                                            // path of the settings file
};

} // namespace lumitakt
