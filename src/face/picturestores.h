#pragma once

#include "model/digits.h"

#include <QPixmap>
#include <QString>

#include <array>
#include <vector>

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

    // What the window shows before a look is applied: the start set's
    // segments (see kStartPictureSet), and its colon on an opaque ground.
    const QPixmap &startSegment(int index) const;
    const QPixmap &startColon() const { return m_startColon; }

private:
    struct Set {
        std::array<QPixmap, kSegmentCount> segments;
        QPixmap colon;
    };
    const Set *setAt(int set) const;

    std::vector<Set> m_sets; // one per picture set
    QPixmap m_startColon;
};

} // namespace lumitakt
