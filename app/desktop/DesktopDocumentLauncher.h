#pragma once
// The document launcher over the desktop's own handlers (QDesktopServices).

#include "ui/DocumentLauncher.h"

namespace jabbly {

class DesktopDocumentLauncher : public DocumentLauncher {
public:
    void RunDoc(QWidget *owner, const QString &link) override;
};

}  // namespace jabbly
