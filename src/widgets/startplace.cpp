#include "widgets/startplace.h"

#include "model/clockmodel.h"

#include <QWidget>

namespace lumitakt {

namespace {

// For how many ticks the start place may still be asserted.
constexpr int kSettleTicks = ticksIn(std::chrono::seconds(5));

} // namespace

StartPlace::StartPlace(QWidget *window, QPoint place) : m_window(window), m_place(place)
{
    m_window->move(place);
}

bool StartPlace::tick(bool minimised)
{
    if (!m_place)
        return false;
    if (++m_ticks > kSettleTicks) {
        m_place.reset();
        return true;
    }
    if (minimised || m_window->frameGeometry().size() == m_window->size())
        return false;
    if (m_window->pos() != *m_place)
        m_window->move(*m_place);
    m_place.reset();
    return true;
}

} // namespace lumitakt
