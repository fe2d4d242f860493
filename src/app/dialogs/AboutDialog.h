#pragma once

#include <QDialog>

namespace vn {

class HyperlinkLabel;

// "About Vantor Netwarden": the program's mark, name, version, rights notice
// and the maker's web page.
class AboutDialog final : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(const QString& homeUrl, QWidget* parent = nullptr);

    HyperlinkLabel* HomeLink() const { return link_; }

private:
    HyperlinkLabel* link_;
};

}  // namespace vn
