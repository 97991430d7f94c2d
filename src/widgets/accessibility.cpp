#include "widgets/accessibility.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QScrollBar>

namespace lumitakt {

namespace {

constexpr char kWithoutPictures[] = "lumitaktWithoutPictures";
constexpr char kPicture[] = "lumitaktPicture";
constexpr char kReversed[] = "lumitaktReversed";
constexpr char kAlert[] = "lumitaktAlert";

// A window reported without its pictures.
class WindowWithoutPictures final : public QAccessibleWidget {
public:
    explicit WindowWithoutPictures(QWidget *window) : QAccessibleWidget(window, QAccessible::Window) {}

    int childCount() const override { return static_cast<int>(reported().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> children = reported();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children.at(index)) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? static_cast<int>(reported().indexOf(qobject_cast<QWidget *>(child->object()))) : -1;
    }

private:
    QList<QWidget *> reported() const
    {
        QList<QWidget *> children;
        for (QObject *object : widget()->children()) {
            auto *child = qobject_cast<QWidget *>(object);
            if (child && !child->isWindow() && !child->property(kPicture).toBool())
                children.append(child);
        }
        return children;
    }
};

// A scroll bar that reports maximum - value.
class ReversedScrollBar final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ReversedScrollBar(QScrollBar *bar) : QAccessibleWidget(bar, QAccessible::ScrollBar) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override { return bar()->maximum() - bar()->value() + bar()->minimum(); }
    void setCurrentValue(const QVariant &value) override { bar()->setValue(bar()->maximum() - value.toInt() + bar()->minimum()); }
    QVariant maximumValue() const override { return bar()->maximum(); }
    QVariant minimumValue() const override { return bar()->minimum(); }
    QVariant minimumStepSize() const override { return bar()->singleStep(); }

private:
    QScrollBar *bar() const { return static_cast<QScrollBar *>(widget()); }
};

QAccessibleInterface *interfaceFor(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (widget->property(kReversed).toBool())
        if (auto *bar = qobject_cast<QScrollBar *>(widget))
            return new ReversedScrollBar(bar);
    if (widget->property(kAlert).toBool())
        return new QAccessibleWidget(widget, QAccessible::AlertMessage);
    if (widget->property(kWithoutPictures).toBool())
        return new WindowWithoutPictures(widget);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(interfaceFor);
        return true;
    }();
    Q_UNUSED(installed)
}

void reportWithoutPictures(QWidget *window)
{
    window->setProperty(kWithoutPictures, true);
}

void reportAsPicture(QWidget *picture)
{
    picture->setProperty(kPicture, true);
}

void reportReversed(QScrollBar *bar)
{
    bar->setProperty(kReversed, true);
}

void reportAsAlert(QWidget *window)
{
    window->setProperty(kAlert, true);
}

} // namespace lumitakt
