#include "ui/Accessibility.h"

#include <QEvent>
#include <QKeyEvent>
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

}  // namespace

void describeForScreenReaders(QWidget &control, const QString &name, const QString &description)
{
    control.setAccessibleName(name);
    control.setAccessibleDescription(description);
}

void closeOnEscape(QWidget &window) { window.installEventFilter(new EscapeCloses(window)); }

}  // namespace jabbly
