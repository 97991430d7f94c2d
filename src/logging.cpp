#include "logging.h"

Q_LOGGING_CATEGORY(lcSettings, "lumitakt.settings", QtWarningMsg)
Q_LOGGING_CATEGORY(lcCommands, "lumitakt.commands", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSound, "lumitakt.sound", QtWarningMsg)
Q_LOGGING_CATEGORY(lcHelp, "lumitakt.help", QtWarningMsg)
