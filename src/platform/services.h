#pragma once

namespace lumitakt {

class Clock;
class CommandStarter;
class SoundPlayer;
class HelpViewer;

// Every way the program reaches the outside world. main() hands the real
// ones to the windows; tests hand fakes.
struct Services {
    Clock &clock;
    CommandStarter &commands;
    SoundPlayer &sound;
    HelpViewer &help;
};

} // namespace lumitakt
