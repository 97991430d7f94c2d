#pragma once

#include "widgets/programdialog.h"

class QLineEdit;

namespace lumitakt {

// The time server dialog ("Synchron"): one text box for the server's name.
class TimeServerDialog final : public ProgramDialog {
    Q_OBJECT
public:
    explicit TimeServerDialog(const QString &server);

Q_SIGNALS:
    // OK: the name exactly as typed; blanks are kept, an empty box clears the server.
    void serverChosen(const QString &server);

private:
    QLineEdit *m_serverBox = nullptr;
};

} // namespace lumitakt
