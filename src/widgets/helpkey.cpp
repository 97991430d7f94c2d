#include "widgets/helpkey.h"

#include "platform/helpviewer.h"

#include <QKeyEvent>

namespace lumitakt {

HelpKey::HelpKey(HelpViewer &viewer, QString helpFile, QObject *parent)
    : QObject(parent), m_viewer(viewer), m_helpFile(std::move(helpFile))
{
}

bool HelpKey::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1
        && static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier) {
        m_viewer.open(m_helpFile);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lumitakt
