#include "app/dialogs/CAddFolder.h"

namespace vn {

CAddFolder::CAddFolder(QWidget* parent)
    : NameEntryDialog(NameKind::Folder, QStringLiteral("Add Folder"),
                      QStringLiteral("Enter the name of the folder to add:"), parent) {}

}  // namespace vn
