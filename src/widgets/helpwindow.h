#pragma once

#include "platform/helpviewer.h"

#include <QPointer>
#include <QWidget>

class QTextBrowser;

namespace lumitakt {

// The help document in a window of the program's own, so that it opens on
// any system, with no browser installed: the pictures show, links inside
// the document jump, links to the outside go to the desktop's browser.
// An ordinary window: not kept on top, and closing it never ends the clock.
class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const QString &file, QWidget *parent = nullptr);

private:
    QTextBrowser *m_browser;
};

// Opens the help window, one at a time: asked again, it comes to the front.
class HelpWindowViewer final : public HelpViewer {
public:
    HelpWindowViewer() = default;
    ~HelpWindowViewer() override;
    HelpWindowViewer(const HelpWindowViewer &) = delete;
    HelpWindowViewer &operator=(const HelpWindowViewer &) = delete;

    void open(const QString &file) override;

private:
    QPointer<HelpWindow> m_window;
};

} // namespace lumitakt
