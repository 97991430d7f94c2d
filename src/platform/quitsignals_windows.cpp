#include "platform/quitsignals.h"

namespace lumitakt {

// Windows ends a program with the session through the session manager's
// request to save and the end of the event loop, which main handles; it
// sends no signals to wait for.
void QuitSignals::endAtOnceUntilCaught() {}

QuitSignals::QuitSignals(QObject *parent) : QObject(parent) {}

QuitSignals::~QuitSignals() = default;

void QuitSignals::readPipe() {}

} // namespace lumitakt
