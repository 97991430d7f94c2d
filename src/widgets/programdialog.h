#pragma once

#include <QDialog>

namespace lumitakt {

// What the program's dialogs have in common: a window of its own (not a
// child of the clock, so it stays open, and the program with it, when the
// clock window is closed first), kept on top so that the clock, which always
// stays on top, never hides it; shown without blocking; destroyed when
// closed. However it closes, it says so once.
class ProgramDialog : public QDialog {
    Q_OBJECT
public:
    ~ProgramDialog() override;

Q_SIGNALS:
    // The dialog has closed, whichever way.
    void closed();

protected:
    ProgramDialog();

    // Centres a window of the given outer size on the primary screen.
    void centreOnScreen(QSize size);

private:
    void announceClosed();

    bool m_closed = false;
};

} // namespace lumitakt
