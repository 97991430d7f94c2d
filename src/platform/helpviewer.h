#pragma once

#include <QString>

namespace lumitakt {

// Shows the help document with the desktop's viewer. A missing document
// opens nothing.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void open(const QString &file) = 0;
};

} // namespace lumitakt
