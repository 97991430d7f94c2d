#include "widgets/timeserverdialog.h"

#include "widgets/fonts.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace lumitakt {

namespace {
constexpr QSize kClient{382, 64}; // 5730 x 960 twips
constexpr int kMaxTyped = 25;
constexpr int kTextPixels = 13; // Arial 9.75 pt at 96 dpi
} // namespace

TimeServerDialog::TimeServerDialog(const QString &server)
{
    setObjectName(QStringLiteral("Synchron"));
    setWindowTitle(QStringLiteral(" syncronisieren mit"));
    setFixedSize(kClient);

    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame"));
    frame->setGeometry(6, 2, 367, 51);

    m_serverBox = new QLineEdit(frame);
    m_serverBox->setObjectName(QStringLiteral("txtSynchron"));
    m_serverBox->setAccessibleName(QStringLiteral("Zeitserver"));
    m_serverBox->setGeometry(10, 18, 255, 24);
    m_serverBox->setFont(arialFont(kTextPixels));

    auto *ok = new QPushButton(QStringLiteral("OK"), frame);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setProperty("index", 0);
    ok->setGeometry(278, 18, 80, 23);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        Q_EMIT serverChosen(m_serverBox->text());
        close();
    });
    setTabOrder(m_serverBox, ok);

    centreOnScreen(kClient);
    // Typing is limited to 25 characters; a longer name from the settings
    // file is shown whole, so that OK never cuts it short.
    m_serverBox->setMaxLength(std::max<int>(kMaxTyped, static_cast<int>(server.size())));
    m_serverBox->setText(server);
    m_serverBox->selectAll();
    m_serverBox->setFocus();
}

} // namespace lumitakt
