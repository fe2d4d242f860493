#pragma once

class QLineEdit;
class QMessageBox;

namespace vn {

// Widens a line edit to show its whole text (up to a limit, beyond which it
// shows the text's start): a path must be read from its drive on.
void FitLineEditToText(QLineEdit& edit);

// Makes a message box at least as wide as its title needs beside the window
// frame's icon and buttons, so that the title is not cut.
void FitTitle(QMessageBox& box);

}  // namespace vn
