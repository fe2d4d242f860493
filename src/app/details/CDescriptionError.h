#pragma once

#include <QString>

#include "app/details/DescriptionView.h"

namespace vn {

struct ComputerRecord;

// A computer whose examination failed: its name and the reason, with the
// access-denied picture when the reason is a refused access.
class CDescriptionError final : public DescriptionView {
    Q_OBJECT
public:
    explicit CDescriptionError(QWidget* parent = nullptr);

    void ShowNode(const ComputerRecord& computer);

    // The text as composed, with its "\r\n" line break.
    const QString& ErrorText() const { return errorText_; }
    QLabel* ErrorLabel() const { return text_; }
    bool ShowsAccessDenied() const { return accessDenied_; }

protected:
    void OnFormWidthChanged() override;

private:
    QLabel* text_;
    QString errorText_;
    bool accessDenied_ = false;
};

}  // namespace vn
