#pragma once

#include "app/dialogs/NameEntryDialog.h"

namespace vn {

// Asks for the name of a new folder.
class CAddFolder final : public NameEntryDialog {
    Q_OBJECT
public:
    explicit CAddFolder(QWidget* parent = nullptr);
};

}  // namespace vn
