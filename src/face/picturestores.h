#pragma once

#include <QPixmap>
#include <QString>

#include <array>

namespace lumitakt {

// The hidden picture stores the looks take their pictures from: for each
// picture set (see pictureSets()) its seven segments, index 1..7, and its
// colon. They are drawn once, by rule, when the clock starts and never change.
class PictureStores {
public:
    PictureStores();

    // An empty pixmap for an unknown set or an index outside 1..7.
    QPixmap segment(int set, int index) const;
    QPixmap colon(int set) const;

    const QPixmap &startSegment(int index) const { return m_segments.at(kGreen).at(static_cast<std::size_t>(index - 1)); }
    const QPixmap &startColon() const { return m_startColon; }

private:
    static constexpr std::size_t kGreen = 1;
    std::array<std::array<QPixmap, 7>, 5> m_segments;
    std::array<QPixmap, 5> m_colons;
    QPixmap m_startColon;
};

} // namespace lumitakt
