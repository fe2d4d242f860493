#pragma once

#include <QDialog>
#include <filesystem>

#include "catalogue/ProductCatalogue.h"

class QTreeWidget;

namespace vn {

// "What Netwarden detects": the maker's two products under their own heading
// and every other product of the catalogue file in a list. It reads the
// catalogue file into a private catalogue of its own, silently when the file
// is missing.
class CDetectInfoDlg final : public QDialog {
    Q_OBJECT
public:
    explicit CDetectInfoDlg(const std::filesystem::path& catalogueFile = CatalogueFilePath(),
                            QWidget* parent = nullptr);

    QTreeWidget* OtherProducts() const { return list_; }

private:
    void FillOtherProducts();

    ProductCatalogue catalogue_;  // cleared with the dialog
    QTreeWidget* list_;
};

}  // namespace vn
