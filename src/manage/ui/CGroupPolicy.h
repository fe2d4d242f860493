#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QLabel;

namespace vn {

class HyperlinkLabel;

// What the policy template help asks of the desktop; tests script it.
struct GroupPolicyDesktop {
    // The folder the user picks, starting in start; empty when cancelled.
    std::function<std::string(QWidget* parent, const std::string& start)> chooseFolder;
    // Hands the file to the desktop's viewer: above 32 when it opened, else a
    // LaunchFailureText value (2 when the file is missing, 31 without a viewer).
    std::function<int(const std::string& path)> openDocument;

    // File dialogs and the desktop's default handlers.
    static GroupPolicyDesktop System();
};

// "Vantor Group Policy": how to set up the Vantor group policies in a
// Windows domain, with the template to save and the guide to print.
class CGroupPolicy final : public QDialog {
    Q_OBJECT
public:
    CGroupPolicy(const QString& moreInformationUrl, GroupPolicyDesktop desktop, QWidget* parent = nullptr,
                 std::string policyDirectory = {});

    // "Save ADM...": asks for the folder (starting in the user's documents)
    // and saves the templates there.
    void SaveAdm();
    // "Print...": the policy guide in the desktop's viewer.
    void Print();

    HyperlinkLabel* MoreInformationLink() const { return link_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GroupPolicyDesktop desktop_;
    std::string policyDirectory_;
    HyperlinkLabel* link_;
};

}  // namespace vn
