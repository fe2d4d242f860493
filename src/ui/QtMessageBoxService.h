#pragma once

#include "core/MessageBoxService.h"

class QWidget;

namespace vn {

// Real message boxes, modal to the given parent window.
class QtMessageBoxService final : public MessageBoxService {
public:
    explicit QtMessageBoxService(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    MessageAnswer Show(std::string_view caption, std::string_view text, MessageIcon icon,
                       MessageButtons buttons) override;

private:
    QWidget* parent_;
};

}  // namespace vn
