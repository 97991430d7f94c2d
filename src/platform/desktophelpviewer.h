#pragma once

#include "platform/helpviewer.h"

namespace lumitakt {

class DesktopHelpViewer final : public HelpViewer {
public:
    void open(const QString &file) override;
};

} // namespace lumitakt
