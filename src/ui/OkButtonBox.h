#pragma once

class QDialog;
class QDialogButtonBox;

namespace vn {

// The button row of a dialog that only informs: OK accepts the dialog, is
// its default button and has the focus when the dialog opens, so Enter
// presses OK even where a link comes first in the tab order.
QDialogButtonBox* MakeOkButtonBox(QDialog& dialog);

}  // namespace vn
