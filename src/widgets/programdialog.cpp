#include "widgets/programdialog.h"

#include <QGuiApplication>
#include <QScreen>

namespace lumitakt {

ProgramDialog::ProgramDialog()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                           | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    connect(this, &QDialog::finished, this, [this] {
        announceClosed();
        deleteLater();
    });
}

ProgramDialog::~ProgramDialog()
{
    announceClosed();
}

void ProgramDialog::centreOnScreen(QSize size)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
    }
}

void ProgramDialog::announceClosed()
{
    if (m_closed)
        return;
    m_closed = true;
    Q_EMIT closed();
}

} // namespace lumitakt
