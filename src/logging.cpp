#include "logging.h"

#include <QString>

// The settings file and the clock setting also say what came of them (a
// write that works again, what net time did), as information.
Q_LOGGING_CATEGORY(lcSettings, "lumitakt.settings", QtInfoMsg)
Q_LOGGING_CATEGORY(lcCommands, "lumitakt.commands", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSound, "lumitakt.sound", QtWarningMsg)
Q_LOGGING_CATEGORY(lcHelp, "lumitakt.help", QtWarningMsg)

namespace lumitakt {

QString printableLogLine(const QString &message)
{
    QString line;
    line.reserve(message.size());
    for (const QChar c : message) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u <= 0x9f))
            line += QStringLiteral("\\x%1").arg(uint(u), 2, 16, QLatin1Char('0'));
        else if ((u >= 0x202a && u <= 0x202e) || (u >= 0x2066 && u <= 0x2069) || u == 0x2028 || u == 0x2029)
            line += QStringLiteral("\\u%1").arg(uint(u), 4, 16, QLatin1Char('0'));
        else
            line += c;
        if (line.size() >= kMaxLogLine) {
            line.truncate(kMaxLogLine - 1);
            line += u'…';
            break;
        }
    }
    return line;
}

} // namespace lumitakt
