#pragma once

#include <memory>
#include <vector>

#include "app/details/DescriptionView.h"
#include "inventory/FolderSummary.h"

class QGroupBox;

namespace vn {

class ProductCatalogue;
struct FolderNode;

// A folder: how many computers and folders it holds at any depth, and how
// many of its computers have each product installed.
class CDescriptionFolder final : public DescriptionView {
    Q_OBJECT
public:
    explicit CDescriptionFolder(const ProductCatalogue& catalogue, QWidget* parent = nullptr);

    void ShowNode(const FolderNode& folder);

    const FolderSummary& Summary() const { return summary_; }
    QLabel* ComputerCount() const { return computers_; }
    QLabel* FolderCount() const { return folders_; }
    QGroupBox* StatisticsBox() const { return statistics_; }
    // Per listed product: its picture, its "name: " and its count.
    const std::vector<QLabel*>& StatisticsRows() const { return rows_; }

protected:
    void OnFormWidthChanged() override;

private:
    void ClearRows();
    void PlaceBoxes();

    FolderSummary summary_;
    QLabel* computers_;
    QLabel* folders_;
    QGroupBox* counts_;
    QGroupBox* statistics_;
    std::vector<QLabel*> rows_;
    int statisticsBottom_ = 0;
};

}  // namespace vn
