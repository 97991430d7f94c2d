#pragma once

#include "widgets/programdialog.h"

namespace lumitakt {

// The About dialog ("Info"): the program's version and where it comes from.
class AboutDialog final : public ProgramDialog {
    Q_OBJECT
public:
    AboutDialog();

    // major.minor.revision, each without leading zeros.
    static QString versionText(int major, int minor, int patch);
};

} // namespace lumitakt
