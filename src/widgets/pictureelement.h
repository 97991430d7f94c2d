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
    // One of an array of elements of one name has its index (1..7) in the
    // property "index"; a single element has none.
    explicit PictureElement(QWidget *parent, const QString &name, int index = 0);

    void setPicture(const QPixmap &picture);
    const QPixmap &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};

} // namespace lumitakt
