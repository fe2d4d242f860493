#include "app/dialogs/CAddComputer.h"

namespace vn {

CAddComputer::CAddComputer(QWidget* parent)
    : NameEntryDialog(NameKind::Computer, QStringLiteral("Add Computer"),
                      QStringLiteral("Enter the name of the computer to add:"), parent) {}

}  // namespace vn
