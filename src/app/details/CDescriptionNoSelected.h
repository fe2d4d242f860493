#pragma once

#include "app/details/DescriptionView.h"

namespace vn {

// Shown while the tree has items but none is selected.
class CDescriptionNoSelected final : public DescriptionView {
    Q_OBJECT
public:
    explicit CDescriptionNoSelected(QWidget* parent = nullptr);

    QLabel* Text() const { return text_; }

private:
    QLabel* text_;
};

}  // namespace vn
