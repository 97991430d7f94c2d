#pragma once

#include <QObject>
#include <QSize>

class QWidget;

namespace lumitakt {

// Keeps a window at a fixed size, each side given either as the client size
// or as the outer size including the window manager's frame. The frame is
// only known once the window is mapped, and may change later, so the size
// is applied again whenever the window is moved, resized, shown or restored.
class OuterSizeKeeper final : public QObject {
    Q_OBJECT
public:
    struct Size {
        int width = 0;
        bool outerWidth = true;
        int height = 0;
        bool outerHeight = true;
    };

    explicit OuterSizeKeeper(QWidget *window);
    void setSize(Size size);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();

    QWidget *m_window;
    Size m_size;
    bool m_set = false;
};

} // namespace lumitakt
