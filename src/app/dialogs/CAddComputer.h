#pragma once

#include "app/dialogs/NameEntryDialog.h"

namespace vn {

// Asks for the name of a computer to examine and add to the tree.
class CAddComputer final : public NameEntryDialog {
    Q_OBJECT
public:
    explicit CAddComputer(QWidget* parent = nullptr);
};

}  // namespace vn
