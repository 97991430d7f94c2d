#include "face/picturestores.h"

#include "face/looks.h"
#include "face/segmentpictures.h"

namespace lumitakt {

PictureStores::PictureStores()
{
    const auto sets = pictureSets();
    for (std::size_t s = 0; s < sets.size(); ++s) {
        for (int index = 1; index <= 7; ++index)
            m_segments[s][static_cast<std::size_t>(index - 1)] = QPixmap::fromImage(segmentPicture(index, sets[s].lit));
        m_colons[s] = QPixmap::fromImage(colonPicture(sets[s].lit, sets[s].colonCorners));
    }
    m_startColon = QPixmap::fromImage(startColonPicture());
}

QPixmap PictureStores::segment(int set, int index) const
{
    if (set < 0 || set >= static_cast<int>(m_segments.size()) || index < 1 || index > 7)
        return {};
    return m_segments[static_cast<std::size_t>(set)][static_cast<std::size_t>(index - 1)];
}

QPixmap PictureStores::colon(int set) const
{
    if (set < 0 || set >= static_cast<int>(m_colons.size()))
        return {};
    return m_colons[static_cast<std::size_t>(set)];
}

} // namespace lumitakt
