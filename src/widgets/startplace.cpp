#include "widgets/startplace.h"

#include <QWidget>

namespace lumitakt {

namespace {

// How many ticks the start place may still be asserted after the window was framed.
constexpr int kSettleTicks = 10;

} // namespace

StartPlace::StartPlace(QWidget *window, QPoint place) : m_window(window), m_place(place)
{
    m_window->move(place);
}

void StartPlace::tick(bool minimised)
{
    if (!m_place)
        return;
    if (++m_ticks > kSettleTicks) {
        m_place.reset();
        return;
    }
    if (minimised || m_window->frameGeometry().size() == m_window->size())
        return;
    if (m_window->pos() != *m_place)
        m_window->move(*m_place);
    m_place.reset();
}

} // namespace lumitakt
