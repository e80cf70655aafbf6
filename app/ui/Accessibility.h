#pragma once
// What a screen reader announces for a control, and the keyboard's way out of a window.

#include <QString>

class QWidget;

namespace jabbly {

void describeForScreenReaders(QWidget &control, const QString &name, const QString &description);

// Escape closes `window`, as its close box does, unless a control inside it uses the key
// (an open drop-down list closes first).
void closeOnEscape(QWidget &window);

}  // namespace jabbly
