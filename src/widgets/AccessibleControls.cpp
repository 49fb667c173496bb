#include "widgets/AccessibleControls.h"

#include "widgets/Controls.h"

#include <QAccessibleWidget>
#include <QGuiApplication>

namespace skylane {

namespace {

class PictureAccessible : public QAccessibleWidget {
public:
    explicit PictureAccessible(PictureBox *picture) : QAccessibleWidget(picture) {}

    QAccessible::Role role() const override
    {
        return static_cast<const PictureBox *>(widget())->actsOnClick() ? QAccessible::Button
                                                                         : QAccessible::Graphic;
    }
};

class WindowAccessible : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget *window) : QAccessibleWidget(window, QAccessible::Window) {}

    QString text(QAccessible::Text t) const override
    {
        const QString text = QAccessibleWidget::text(t);
        // The window system shows a window without a title by the
        // application's name.
        if (t == QAccessible::Name && text.isEmpty())
            return QGuiApplication::applicationDisplayName();
        return text;
    }

    // The base class answers with the first child created at the point;
    // the one drawn on top is the last in the stacking order.
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = childCount() - 1; i >= 0; --i) {
            QAccessibleInterface *control = child(i);
            if (control && control->isValid() && control->rect().contains(x, y))
                return control;
        }
        return nullptr;
    }
};

QAccessibleInterface *accessibleControl(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String(PictureBox::staticMetaObject.className()))
        return new PictureAccessible(static_cast<PictureBox *>(widget));
    // Reached for a window of a class that no other interface serves. A
    // widget that is being destroyed is a plain QWidget by then, and gets
    // no interface here.
    if (className == QLatin1String("QWidget") && widget->isWindow()
        && widget->metaObject() != &QWidget::staticMetaObject)
        return new WindowAccessible(widget);
    return nullptr;
}

} // namespace

void installAccessibleControls()
{
    QAccessible::installFactory(accessibleControl);
}

} // namespace skylane
