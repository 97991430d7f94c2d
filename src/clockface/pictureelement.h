#pragma once

#include <QPixmap>
#include <QWidget>

namespace lumitakt {

// A picture on the clock face: shown unscaled at its own size, its
// transparent pixels letting the window background through. Whole-number
// scaling on high-DPI screens keeps its pixels crisp.
class PictureElement final : public QWidget {
    Q_OBJECT
public:
    explicit PictureElement(QWidget *parent, const QString &name, int index = 0);

    void setPicture(const QPixmap &picture);
    const QPixmap &picture() const { return m_picture; }
    // The index within its element array (1..7), or 0 for a single element.
    int index() const { return m_index; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
    int m_index;
};

} // namespace lumitakt
