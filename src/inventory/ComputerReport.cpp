#include "inventory/ComputerReport.h"

#include <QStringList>

#include "catalogue/ProductDef.h"
#include "inventory/InventoryNode.h"

namespace vn {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString HealthyComputerText(const ComputerRecord& computer) {
    QString text;
    if (computer.LastKnownIP != 0)
        text += QStringLiteral("IP Address: ") + Text(FormatIPv4(computer.LastKnownIP)) + QStringLiteral("\r\n");
    if (!computer.Description.empty())
        text += QStringLiteral("Description: ") + Text(computer.Description) + QStringLiteral("\r\n");
    if (!computer.OSVersion.empty() && computer.OSVersion != "Unknown")
        text += QStringLiteral("OS Version: ") + Text(computer.OSVersion) + QStringLiteral("\r\n");
    if (computer.InstalledProducts.empty())
        return text + QStringLiteral("\r\nNone of the examined products are installed on this computer.");
    text += QStringLiteral("\r\nInstalled remote access software:\r\n");
    QStringList products;
    for (const ProductDef* product : computer.InstalledProducts)
        products << QStringLiteral(" -") + Text(product->DisplayName);
    return text + products.join(QStringLiteral("\r\n"));
}

}  // namespace

std::optional<ComputerReport> MakeComputerReport(const InventoryNode& node) {
    const auto* computer = dynamic_cast<const ComputerRecord*>(&node);
    if (computer == nullptr)
        return std::nullopt;
    ComputerReport report;
    report.Title = Text(computer->Name);
    report.IsError = computer->HasError != 0;
    if (report.IsError)
        report.Text = QStringLiteral("Could not access the computer.\r\n") + Text(computer->ErrorString);
    else
        report.Text = HealthyComputerText(*computer);
    return report;
}

}  // namespace vn
