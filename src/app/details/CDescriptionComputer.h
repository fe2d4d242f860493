#pragma once

#include <QString>
#include <vector>

#include "app/details/DescriptionView.h"

class QGroupBox;

namespace vn {

struct ComputerRecord;

// A computer that could be examined: its name, description, operating
// system and address on the strip, and its installed products in a box.
class CDescriptionComputer : public DescriptionView {
    Q_OBJECT
public:
    explicit CDescriptionComputer(QWidget* parent = nullptr);

    void ShowNode(const ComputerRecord& computer);

    QLabel* Description() const { return description_; }
    QLabel* OsVersion() const { return osVersion_; }
    QLabel* IpAddress() const { return ipAddress_; }
    QGroupBox* ProductBox() const { return box_; }
    // The product rows: picture and name labels, one pair per product, or
    // the single "none" line.
    const std::vector<QLabel*>& ProductRows() const { return rows_; }

protected:
    // The same view on a taller form.
    CDescriptionComputer(int formHeight, QWidget* parent);
    void OnFormWidthChanged() override;

private:
    void ClearRows();
    void PlaceBox();

    QLabel* description_;
    QLabel* osVersion_;
    QLabel* ipAddress_;
    QGroupBox* box_;
    std::vector<QLabel*> rows_;
    int boxBottom_ = 0;
};

// The computer view on a taller template; created with the others, never
// chosen by the tree.
class CDescriptionComputer2 final : public CDescriptionComputer {
    Q_OBJECT
public:
    explicit CDescriptionComputer2(QWidget* parent = nullptr);
};

}  // namespace vn
