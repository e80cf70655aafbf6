// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Accessibility.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QWidget>

namespace jabbly {

namespace {

// Sees the key presses that reach the window itself: those that no control inside it
// used. An open drop-down list or menu is a window of its own, so the Escape that closes
// it never gets here.
class EscapeCloses : public QObject {
public:
    explicit EscapeCloses(QWidget &window) : QObject(&window), window_(window) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &window_ && event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                window_.close();
                return true;
            }
        }
        return false;
    }

private:
    QWidget &window_;
};

constexpr const char *RoleProperty = "jabblyAccessibleRole";

// Asked by Qt with the object's class names, most derived first: Qt's own widgets are
// answered before this factory is asked, the program's classes are not.
QAccessibleInterface *widgetWithItsRole(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    const QVariant role = widget->property(RoleProperty);
    if (!role.isValid())
        return nullptr;
    return new QAccessibleWidget(widget, static_cast<QAccessible::Role>(role.toInt()));
}

}  // namespace

void describeForScreenReaders(QWidget &control, const QString &name, const QString &description)
{
    control.setAccessibleName(name);
    control.setAccessibleDescription(description);
}

QLabel *labelForScreenReaders(QWidget &control, const QString &text)
{
    auto *label = new QLabel(text, control.parentWidget());
    label->setObjectName(control.objectName() + QStringLiteral("Label"));
    label->setBuddy(&control);
    label->hide();
    return label;
}

void setAccessibleRole(QWidget &widget, QAccessible::Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(widgetWithItsRole);
        return true;
    }();
    Q_UNUSED(installed);
    widget.setProperty(RoleProperty, static_cast<int>(role));
    // With a screen reader running, Qt may have made the widget's interface already, while
    // it was being built as a plain QWidget; it is made again, now with its role.
    if (QAccessible::isActive()) {
        if (QAccessibleInterface *made = QAccessible::queryAccessibleInterface(&widget); made && made->role() != role)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}

void closeOnEscape(QWidget &window) { window.installEventFilter(new EscapeCloses(window)); }

}  // namespace jabbly
