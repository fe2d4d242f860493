#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "deploy/InstallTarget.h"
#include "deploy/ui/InstallDialogServices.h"

class QPushButton;
class QTreeWidget;

namespace vn {

class Platform;

// The wizard's first page: the computers to deploy to, in a four-column list
// whose rows are the page's working copy of the wizard's target list. New
// rows go to the top; names already listed are refused. The last column's
// check box (and its header's, for all rows) says whether this computer's
// Vantor settings are copied to the target.
class CInstallComputersPage final : public QWidget {
    Q_OBJECT
public:
    CInstallComputersPage(Platform& platform, InstallDialogServices services, QWidget* parent = nullptr);

    // The destination path that Add and Import offer.
    void SetDefaultPath(const std::string& path) { defaultPath_ = path; }

    // Empties the rows, then adds every target by the row-adding rule.
    void Load(const std::vector<InstallTarget>& targets);
    // Next: refuses an empty list; otherwise writes the rows, from the top,
    // into targets and gives true.
    bool Next(std::vector<InstallTarget>& targets);

    void Add();
    void Import();
    void Edit();
    void Remove();
    // Inverts one row's settings flag, or every row's as the header says.
    void ToggleRow(int row);
    void ToggleAll();

    bool AllChecked() const { return allChecked_; }
    const std::vector<InstallTarget>& Rows() const { return rows_; }
    QTreeWidget* List() const { return list_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The row-adding rule: false (with its message) for a name already listed.
    bool AddRow(const InstallTarget& target);
    void FillRow(int row);
    void UpdateAllChecked();
    std::vector<int> SelectedRows() const;

    Platform& platform_;
    InstallDialogServices services_;
    std::string defaultPath_;
    QPushButton* add_;
    QPushButton* import_;
    QPushButton* edit_;
    QPushButton* remove_;
    QTreeWidget* list_;
    std::vector<InstallTarget> rows_;  // in row order
    bool allChecked_ = false;
};

}  // namespace vn
