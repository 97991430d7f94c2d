#pragma once

#include "windowkit/programdialog.h"

class QLineEdit;
class QPushButton;

namespace lumitakt {

struct SharedState;

// The time server dialog ("Synchron"): one text box for the server's name.
class Synchron final : public ProgramDialog {
    Q_OBJECT
public:
    Synchron(SharedState &state, QWidget *mainWindow);

    void btnOK_Click();

private:
    void Form_Load();

    SharedState &m_state;
    QLineEdit *m_txtSynchron = nullptr;
    QPushButton *m_btnOK = nullptr;
};

} // namespace lumitakt
