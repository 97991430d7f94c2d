#include "widgets/pictureelement.h"

#include "widgets/accessibility.h"

#include <QPainter>

namespace lumitakt {

PictureElement::PictureElement(QWidget *parent, const QString &name, int index) : QWidget(parent)
{
    setObjectName(name);
    if (index > 0)
        setProperty("index", index);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    reportAsPicture(this);
}

void PictureElement::setPicture(const QPixmap &picture)
{
    if (picture.cacheKey() == m_picture.cacheKey())
        return;
    m_picture = picture;
    setFixedSize(picture.deviceIndependentSize().toSize());
    update();
}

void PictureElement::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // No smoothing: a pixel of the picture becomes a block of whole device pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawPixmap(0, 0, m_picture);
}

} // namespace lumitakt
