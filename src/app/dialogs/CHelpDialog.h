#pragma once

#include <QDialog>

namespace vn {

class HyperlinkLabel;

// "Support": the support page as a link and the support telephone lines.
class CHelpDialog final : public QDialog {
    Q_OBJECT
public:
    explicit CHelpDialog(const QString& supportUrl, QWidget* parent = nullptr);

    HyperlinkLabel* SupportLink() const { return link_; }

private:
    HyperlinkLabel* link_;
};

}  // namespace vn
