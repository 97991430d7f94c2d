#pragma once

#include "windowkit/programdialog.h"

namespace lumitakt {

// The About dialog ("Info"): the program's version and where it comes from.
class Info final : public ProgramDialog {
    Q_OBJECT
public:
    explicit Info(QWidget *mainWindow);

    // major.minor.revision, each without leading zeros.
    static QString revision(int major, int minor, int patch);

private:
    void Form_Load();
};

} // namespace lumitakt
