#include "face/picturestores.h"

#include "face/looks.h"
#include "face/segmentpictures.h"

namespace lumitakt {

PictureStores::PictureStores()
{
    for (const PictureSet &pictures : pictureSets()) {
        Set &drawn = m_sets.emplace_back();
        for (int index = 1; index <= kSegmentCount; ++index)
            drawn.segments[static_cast<std::size_t>(index - 1)] = QPixmap::fromImage(segmentPicture(index, pictures.lit));
        drawn.colon = QPixmap::fromImage(colonPicture(pictures.lit, pictures.colonCorners));
    }
    m_startColon = QPixmap::fromImage(startColonPicture(pictureSets()[kStartPictureSet].lit));
}

const PictureStores::Set *PictureStores::setAt(int set) const
{
    if (set < 0 || set >= static_cast<int>(m_sets.size()))
        return nullptr;
    return &m_sets[static_cast<std::size_t>(set)];
}

QPixmap PictureStores::segment(int set, int index) const
{
    const Set *pictures = setAt(set);
    if (!pictures || index < 1 || index > kSegmentCount)
        return {};
    return pictures->segments[static_cast<std::size_t>(index - 1)];
}

QPixmap PictureStores::colon(int set) const
{
    const Set *pictures = setAt(set);
    return pictures ? pictures->colon : QPixmap();
}

const QPixmap &PictureStores::startSegment(int index) const
{
    return m_sets.at(kStartPictureSet).segments.at(static_cast<std::size_t>(index - 1));
}

} // namespace lumitakt
