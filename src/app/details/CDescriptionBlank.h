#pragma once

#include "app/details/DescriptionView.h"

namespace vn {

// Shown while the tree is empty: an invitation to scan, with the Scan...
// button and the "What Netwarden detects" link.
class CDescriptionBlank final : public DescriptionView {
    Q_OBJECT
public:
    explicit CDescriptionBlank(QWidget* parent = nullptr);

    QLabel* Text() const { return text_; }
    QPushButton* ScanButton() const { return scan_; }

protected:
    void OnFormWidthChanged() override;

private:
    QLabel* text_;
    QPushButton* scan_;
};

}  // namespace vn
