#pragma once
// The combo helper over Qt's combo box.

#include "ui/ComboTool.h"

namespace jabbly {

class QtComboTool : public ComboTool {
public:
    void SetDropHeight(QWidget *window, QComboBox *box, int16_t height) override;
};

}  // namespace jabbly
