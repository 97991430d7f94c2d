#include "timesync/synchron.h"

#include "sharedstate.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace lumitakt {

namespace {
constexpr QSize kClient{382, 64}; // 5730 x 960 twips
constexpr int kMaxTyped = 25;
constexpr int kTextPixels = 13;   // Arial 9.75 pt at 96 dpi
} // namespace

Synchron::Synchron(SharedState &state, QWidget *mainWindow) : ProgramDialog(mainWindow), m_state(state)
{
    setObjectName(QStringLiteral("Synchron"));
    setWindowTitle(QStringLiteral(" syncronisieren mit"));
    setFixedSize(kClient);

    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame"));
    frame->setGeometry(6, 2, 367, 51);

    m_txtSynchron = new QLineEdit(frame);
    m_txtSynchron->setObjectName(QStringLiteral("txtSynchron"));
    m_txtSynchron->setAccessibleName(QStringLiteral("Zeitserver"));
    m_txtSynchron->setGeometry(10, 18, 255, 24);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kTextPixels);
    m_txtSynchron->setFont(font);

    m_btnOK = new QPushButton(QStringLiteral("OK"), frame);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setProperty("index", 0);
    m_btnOK->setGeometry(278, 18, 80, 23);
    m_btnOK->setDefault(true);
    connect(m_btnOK, &QPushButton::clicked, this, &Synchron::btnOK_Click);
    setTabOrder(m_txtSynchron, m_btnOK);

    Form_Load();
}

void Synchron::Form_Load()
{
    centreOnScreen(kClient);
    // Typing is limited to 25 characters; a longer name from the settings
    // file is shown whole, so that OK never cuts it short.
    m_txtSynchron->setMaxLength(std::max<int>(kMaxTyped, static_cast<int>(m_state.Zeitserver.size())));
    m_txtSynchron->setText(m_state.Zeitserver);
    m_txtSynchron->selectAll();
    m_txtSynchron->setFocus();
}

void Synchron::btnOK_Click()
{
    // Stored exactly as typed: blanks are kept, an empty box clears the server.
    m_state.Zeitserver = m_txtSynchron->text();
    close();
}

} // namespace lumitakt
