#include "windowkit/programdialog.h"

#include <QGuiApplication>
#include <QScreen>

namespace lumitakt {

ProgramDialog::ProgramDialog(QWidget *mainWindow)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                           | Qt::WindowStaysOnTopHint),
      m_mainWindow(mainWindow)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    connect(this, &QDialog::finished, this, &ProgramDialog::Form_Unload);
}

ProgramDialog::~ProgramDialog()
{
    if (!m_unloaded) {
        m_unloaded = true;
        if (m_mainWindow)
            m_mainWindow->setEnabled(true);
        Q_EMIT unloaded();
    }
}

void ProgramDialog::centreOnScreen(QSize size)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
    }
}

void ProgramDialog::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (m_mainWindow)
        m_mainWindow->setEnabled(true);
    Q_EMIT unloaded();
    deleteLater();
}

} // namespace lumitakt
