#pragma once

#include <QString>

namespace lumitakt {

// Shows the help document; a missing document is reported to the user
// rather than passed over.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void open(const QString &file) = 0;
};

} // namespace lumitakt
