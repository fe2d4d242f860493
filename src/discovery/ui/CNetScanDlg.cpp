#include "discovery/ui/CNetScanDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/MessageBoxService.h"
#include "inventory/NameRules.h"

namespace vn {

CNetScanDlg::CNetScanDlg(const std::string& offeredEntry, bool treeEmpty, QWidget* parent)
    : QDialog(parent),
      combo_(new QComboBox(this)),
      erase_(new QCheckBox(QStringLiteral("Erase the previous scan's results"), this)) {
    setWindowTitle(QStringLiteral("Network Scan"));
    combo_->setObjectName(QStringLiteral("container"));
    combo_->setEditable(true);
    combo_->setInsertPolicy(QComboBox::InsertAlphabetically);
    combo_->addItem(QString::fromStdString(offeredEntry));
    combo_->setCurrentIndex(0);
    erase_->setObjectName(QStringLiteral("erase"));
    erase_->setEnabled(!treeEmpty);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Scan"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CNetScanDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Enter the name of the network resource to scan:"), this));
    layout->addWidget(combo_);
    layout->addWidget(erase_);
    layout->addWidget(buttons);
    setMinimumWidth(340);
}

std::string CNetScanDlg::Container() const { return combo_->currentText().toStdString(); }

bool CNetScanDlg::EraseChosen() const { return erase_->isChecked(); }

void CNetScanDlg::accept() {
    if (combo_->currentText().isEmpty()) {
        ShowMessage("Error", "The Network container you entered is invalid. Please add a valid name!",
                    MessageIcon::Warning);
        return;
    }
    // The name becomes the top folder's, which the tree must be able to keep.
    if (const std::string refusal = ScanFolderNameRefusal(Container()); !refusal.empty()) {
        ShowMessage(kAppCaption, refusal, MessageIcon::Stop);
        combo_->setFocus();
        return;
    }
    if (EraseChosen() && ShowMessage("Erase", "Do you really want to erase the previous scan's result?",
                                     MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    QDialog::accept();
}

}  // namespace vn
