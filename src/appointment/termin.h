#pragma once

#include "windowkit/programdialog.h"

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace lumitakt {

class Clock;
class OuterSizeKeeper;
struct SharedState;

// The appointment dialog ("Termin"), with three faces chosen by TerminModus
// when it is created: 1 enter an appointment, 2 the alarm, 3 how the alarm
// sounds.
class Termin final : public ProgramDialog {
    Q_OBJECT
public:
    Termin(SharedState &state, const Clock &clock, QWidget *mainWindow);

    void scrStd_Change();
    void scrMin_Change();
    void optTerminsignal_Click(int Index);
    void btnOK_Click(int Index);

    QPushButton *btnOK(int index) const { return m_btnOK.at(static_cast<std::size_t>(index)); }
    QRadioButton *optTerminsignal(int index) const { return m_opt.at(static_cast<std::size_t>(index)); }

private:
    void Form_Load();
    void createElements();
    void setDefaultTime();

    SharedState &m_state;
    const Clock &m_clock;
    OuterSizeKeeper *m_outerSize = nullptr;

    QGroupBox *m_fraEingeben = nullptr;
    QGroupBox *m_fraAnzeigen = nullptr;
    QGroupBox *m_fraTerminSignal = nullptr;
    QScrollBar *m_scrStd = nullptr;
    QScrollBar *m_scrMin = nullptr;
    QLineEdit *m_txtStd = nullptr;
    QLineEdit *m_txtMin = nullptr;
    QLineEdit *m_txtTermin = nullptr;
    QLabel *m_lblAnzeigen = nullptr;
    std::array<QPushButton *, 3> m_btnOK{};
    std::array<QRadioButton *, 2> m_opt{};
};

} // namespace lumitakt
