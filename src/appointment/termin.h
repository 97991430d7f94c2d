#pragma once

#include <QDialog>
#include <QPointer>

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
// sounds. It is shown without blocking; closing it in any way enables the
// clock window again and destroys the dialog.
class Termin final : public QDialog {
    Q_OBJECT
public:
    Termin(SharedState &state, const Clock &clock, QWidget *mainWindow);
    ~Termin() override;

    void scrStd_Change();
    void scrMin_Change();
    void optTerminsignal_Click(int Index);
    void btnOK_Click(int Index);

    QPushButton *btnOK(int index) const { return m_btnOK.at(static_cast<std::size_t>(index)); }
    QRadioButton *optTerminsignal(int index) const { return m_opt.at(static_cast<std::size_t>(index)); }

Q_SIGNALS:
    // The dialog has closed, whichever way.
    void unloaded();

private:
    void Form_Load();
    void Form_Unload();
    void createElements();
    void setDefaultTime();

    SharedState &m_state;
    const Clock &m_clock;
    QPointer<QWidget> m_mainWindow;
    OuterSizeKeeper *m_outerSize = nullptr;
    bool m_unloaded = false;

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
