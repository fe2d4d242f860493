#pragma once

#include <QString>
#include <optional>

class QFileDialog;

namespace vn {

// Runs a file dialog; the first file chosen, or nothing when cancelled. Qt's
// own dialog gets detail columns as wide as their texts (type names, dates),
// the name column the rest, and room for them.
std::optional<QString> RunFileDialog(QFileDialog& dialog);

}  // namespace vn
