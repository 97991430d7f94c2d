#pragma once

#include <QLoggingCategory>
#include <QString>

#include <optional>

// Where the program reports what went wrong outside its window. Only
// warnings are shown by default; QT_LOGGING_RULES="lumitakt.*=true" shows
// everything. Nothing is logged on a tick's normal path.
Q_DECLARE_LOGGING_CATEGORY(lcSettings) // lumitakt.settings: the settings file
Q_DECLARE_LOGGING_CATEGORY(lcCommands) // lumitakt.commands: setting the computer's clock
Q_DECLARE_LOGGING_CATEGORY(lcSound)    // lumitakt.sound: the alarm sound
Q_DECLARE_LOGGING_CATEGORY(lcHelp)     // lumitakt.help: the help document

namespace lumitakt {

// A message as it may reach a terminal or a log: names and paths from files
// can hold anything, so control characters (ESC, BEL, line breaks, the C1
// range) and the marks that turn text around are written as \x1b or
// \u202e, and a message never runs past one line of kMaxLogLine characters.
inline constexpr int kMaxLogLine = 1000;
QString printableLogLine(const QString &message);

// What a warning that could come again and again (on every tick, on every
// command) last said, so that it is said once, and again only when it would
// say something else. A member of the object that says it: a new object,
// a new test, says it anew.
class SaidOnce {
public:
    // Whether `what` is to be said now: it is not what was said last.
    bool isNew(const QString &what = QString())
    {
        if (m_said == what)
            return false;
        m_said = what;
        return true;
    }

private:
    std::optional<QString> m_said;
};

} // namespace lumitakt
