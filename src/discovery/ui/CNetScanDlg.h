#pragma once

#include <QDialog>
#include <string>

class QCheckBox;
class QComboBox;

namespace vn {

// "Network Scan": the name of the network resource to browse, offered with
// this computer's workgroup, and whether the previous results are erased
// first. OK refuses an empty name and asks before an erase.
class CNetScanDlg final : public QDialog {
    Q_OBJECT
public:
    // The erase box is disabled when the tree is empty.
    CNetScanDlg(const std::string& offeredEntry, bool treeEmpty, QWidget* parent = nullptr);

    // The container as typed.
    std::string Container() const;
    bool EraseChosen() const;

    QComboBox* ContainerCombo() const { return combo_; }
    QCheckBox* EraseCheck() const { return erase_; }

    void accept() override;

private:
    QComboBox* combo_;
    QCheckBox* erase_;
};

}  // namespace vn
