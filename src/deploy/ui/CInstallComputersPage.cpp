#include "deploy/ui/CInstallComputersPage.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <algorithm>

#include "core/MessageBoxService.h"
#include "deploy/TargetNameFile.h"
#include "deploy/ui/CInstallAddHostDlg.h"
#include "deploy/ui/CInstallEditDlg.h"
#include "deploy/ui/PortText.h"
#include "pictures/PictureIds.h"
#include "pictures/ResourceIcon.h"

namespace vn {
namespace {

constexpr int kSettingsColumn = 3;
constexpr int kImportPort = 2000;

// Cells of the row check-box strip and the header one.
enum RowImage { kBlank = 0, kChecked = 1, kUnchecked = 2 };

QIcon RowIcon(RowImage image) {
    const std::vector<QIcon> cells = ResourceIconStrip(picture::kListCheckBoxes, picture::kListCheckBoxWidth);
    return static_cast<std::size_t>(image) < cells.size() ? cells[image] : QIcon();
}

QIcon HeaderIcon(bool checked) {
    const std::vector<QIcon> cells = ResourceIconStrip(picture::kHeaderCheckBoxes, picture::kHeaderCheckBoxWidth);
    return cells.size() == 2 ? cells[checked ? 1 : 0] : QIcon();
}

QPushButton* MakeButton(const char* text, int picture, QWidget* parent) {
    auto* button = new QPushButton(ResourceIcon(picture), QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(text).remove(QLatin1Char('.')).toLower());
    return button;
}

}  // namespace

CInstallComputersPage::CInstallComputersPage(Platform& platform, InstallDialogServices services, QWidget* parent)
    : QWidget(parent),
      platform_(platform),
      services_(std::move(services)),
      add_(MakeButton("Add...", picture::kTargetAdd, this)),
      import_(MakeButton("Import...", picture::kTargetImport, this)),
      edit_(MakeButton("Edit...", picture::kTargetEdit, this)),
      remove_(MakeButton("Remove", picture::kTargetRemove, this)),
      list_(new QTreeWidget(this)) {
    list_->setObjectName(QStringLiteral("targets"));
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSortingEnabled(false);
    list_->setIconSize(QSize(picture::kListCheckBoxWidth, 15));
    list_->setHeaderLabels({QStringLiteral("Computer name"), QStringLiteral("Destination path"), QStringLiteral("Port"),
                            QStringLiteral("Use this computer's Vantor settings")});
    const int widths[] = {100, 180, 40, 220};
    for (int column = 0; column < 4; ++column)
        list_->setColumnWidth(column, widths[column]);
    list_->header()->setSectionsClickable(true);
    list_->headerItem()->setIcon(kSettingsColumn, HeaderIcon(false));

    connect(add_, &QPushButton::clicked, this, &CInstallComputersPage::Add);
    connect(import_, &QPushButton::clicked, this, &CInstallComputersPage::Import);
    connect(edit_, &QPushButton::clicked, this, &CInstallComputersPage::Edit);
    connect(remove_, &QPushButton::clicked, this, &CInstallComputersPage::Remove);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { Edit(); });
    list_->viewport()->installEventFilter(this);
    connect(list_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (column == kSettingsColumn)
            ToggleAll();
    });
}

bool CInstallComputersPage::eventFilter(QObject* watched, QEvent* event) {
    // A click toggles a row only on the check-box image of its last column.
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
        const QModelIndex index = list_->indexAt(position);
        if (index.isValid() && index.column() == kSettingsColumn) {
            const QRect cell = list_->visualRect(index);
            const QRect image(cell.left(), cell.top(), list_->iconSize().width() + 4, cell.height());
            if (image.contains(position))
                ToggleRow(index.row());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CInstallComputersPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    add_->setGeometry(4, 4, 70, 22);
    import_->setGeometry(78, 4, 90, 22);
    edit_->setGeometry(172, 4, 70, 22);
    remove_->setGeometry(246, 4, 80, 22);
    list_->setGeometry(4, 30, std::max(0, width() - 8), std::max(0, height() - 34));
}

void CInstallComputersPage::Load(const std::vector<InstallTarget>& targets) {
    list_->clear();
    rows_.clear();
    for (const InstallTarget& target : targets)
        AddRow(target);
}

bool CInstallComputersPage::Next(std::vector<InstallTarget>& targets) {
    if (rows_.empty()) {
        ShowMessage("No target computers specifed", "Please add at least one target computer.", MessageIcon::Warning);
        return false;
    }
    targets = rows_;
    return true;
}

bool CInstallComputersPage::AddRow(const InstallTarget& target) {
    if (HasTarget(rows_, target.hostName)) {
        ShowMessage("Error", "The specified computer already exists", MessageIcon::Warning);
        return false;
    }
    // New rows go on top; appended and rotated there, since GCC 12 at -O3
    // warns falsely about inserting at the front.
    rows_.push_back(target);
    std::rotate(rows_.begin(), rows_.end() - 1, rows_.end());
    auto* item = new QTreeWidgetItem;
    item->setText(0, QString::fromStdString(target.hostName));
    item->setIcon(0, RowIcon(kBlank));
    list_->insertTopLevelItem(0, item);
    FillRow(0);
    return true;
}

void CInstallComputersPage::FillRow(int row) {
    QTreeWidgetItem* item = list_->topLevelItem(row);
    const InstallTarget& target = rows_[static_cast<std::size_t>(row)];
    item->setText(1, QString::fromStdString(target.destinationPath));
    item->setText(2, QString::number(target.port));
    item->setIcon(kSettingsColumn, RowIcon(target.useLocalSettings != 0 ? kChecked : kUnchecked));
}

void CInstallComputersPage::UpdateAllChecked() {
    allChecked_ = std::all_of(rows_.begin(), rows_.end(),
                              [](const InstallTarget& target) { return target.useLocalSettings != 0; });
    list_->headerItem()->setIcon(kSettingsColumn, HeaderIcon(allChecked_));
}

std::vector<int> CInstallComputersPage::SelectedRows() const {
    std::vector<int> rows;
    for (int row = 0; row < list_->topLevelItemCount(); ++row)
        if (list_->topLevelItem(row)->isSelected())
            rows.push_back(row);
    return rows;
}

void CInstallComputersPage::Add() {
    CInstallAddHostDlg dialog(platform_, defaultPath_, this);
    if (services_.runDialog(dialog) == QDialog::Accepted)
        AddRow(dialog.Target());
    UpdateAllChecked();
}

void CInstallComputersPage::Import() {
    const std::optional<QString> file = services_.chooseImportFile(this);
    if (!file)
        return;
    std::vector<std::string> names;
    if (!ReadTargetNames(file->toStdString(), names)) {
        ShowMessage("Error", "Could not open file \"" + file->toStdString() + "\".", MessageIcon::Warning);
        return;
    }
    if (names.empty())
        return;
    CInstallEditDlg dialog(names, QString::number(kImportPort), QString::fromStdString(defaultPath_), this);
    if (services_.runDialog(dialog) != QDialog::Accepted)
        return;
    for (const std::string& name : names) {
        InstallTarget target;
        target.hostName = name;
        target.destinationPath = dialog.DestinationPath().toStdString();
        target.port = static_cast<std::int32_t>(LeadingDecimal(dialog.PortText().toStdString()));
        // The box is offered checked; unchecked, the imported computers get no settings.
        target.useLocalSettings = dialog.UseSettings() ? 1 : 0;
        AddRow(target);
    }
    UpdateAllChecked();
}

void CInstallComputersPage::Edit() {
    const std::vector<int> selected = SelectedRows();
    if (selected.empty())
        return;
    std::vector<std::string> names;
    QString path = list_->topLevelItem(selected.front())->text(1);
    QString port = list_->topLevelItem(selected.front())->text(2);
    for (const int row : selected) {
        names.push_back(rows_[static_cast<std::size_t>(row)].hostName);
        if (list_->topLevelItem(row)->text(1) != path)
            path.clear();
        if (list_->topLevelItem(row)->text(2) != port)
            port.clear();
    }
    CInstallEditDlg dialog(names, port, path, this);
    if (services_.runDialog(dialog) != QDialog::Accepted)
        return;
    for (const int row : selected) {
        InstallTarget& target = rows_[static_cast<std::size_t>(row)];
        if (!dialog.DestinationPath().isEmpty())
            target.destinationPath = dialog.DestinationPath().toStdString();
        if (!dialog.PortText().isEmpty())
            target.port = static_cast<std::int32_t>(LeadingDecimal(dialog.PortText().toStdString()));
        target.useLocalSettings = dialog.UseSettings() ? 1 : 0;
    }
    for (int row = 0; row < list_->topLevelItemCount(); ++row)
        FillRow(row);
    UpdateAllChecked();
}

void CInstallComputersPage::Remove() {
    const std::vector<int> selected = SelectedRows();
    if (selected.empty())
        return;
    if (ShowMessage(kAppCaption, "Are you sure you want the remove the selected computer(s)?", MessageIcon::Question,
                    MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    for (auto row = selected.rbegin(); row != selected.rend(); ++row) {
        delete list_->takeTopLevelItem(*row);
        rows_.erase(rows_.begin() + *row);
    }
}

void CInstallComputersPage::ToggleRow(int row) {
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return;
    InstallTarget& target = rows_[static_cast<std::size_t>(row)];
    target.useLocalSettings = target.useLocalSettings != 0 ? 0 : 1;
    FillRow(row);
    UpdateAllChecked();
}

void CInstallComputersPage::ToggleAll() {
    allChecked_ = !allChecked_;
    list_->headerItem()->setIcon(kSettingsColumn, HeaderIcon(allChecked_));
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        rows_[row].useLocalSettings = allChecked_ ? 1 : 0;
        FillRow(static_cast<int>(row));
    }
}

}  // namespace vn
