#include "widgets/outersize.h"

#include <QEvent>
#include <QWidget>

namespace lumitakt {

OuterSizeKeeper::OuterSizeKeeper(QWidget *window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
}

void OuterSizeKeeper::setSize(Size size)
{
    m_size = size;
    m_set = true;
    apply();
}

void OuterSizeKeeper::apply()
{
    // A minimised window is resized when it comes back: window managers take
    // a new size for a minimised window as a request to restore it.
    if (!m_set || m_window->isMinimized())
        return;
    const QSize frame = m_window->frameGeometry().size() - m_window->geometry().size();
    const QSize client(m_size.width - (m_size.outerWidth ? frame.width() : 0),
                       m_size.height - (m_size.outerHeight ? frame.height() : 0));
    if (client != m_window->size() || m_window->minimumSize() != client || m_window->maximumSize() != client)
        m_window->setFixedSize(client);
}

bool OuterSizeKeeper::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window
        && (event->type() == QEvent::Move || event->type() == QEvent::Resize || event->type() == QEvent::Show
            || event->type() == QEvent::WindowStateChange))
        apply();
    return QObject::eventFilter(watched, event);
}

} // namespace lumitakt
