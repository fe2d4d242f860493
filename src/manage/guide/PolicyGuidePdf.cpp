#include "manage/guide/PolicyGuidePdf.h"

#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace vn {

bool WritePolicyGuidePdf(const QString& markdown, const QString& pdfPath) {
    {
        QPdfWriter writer(pdfPath);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        writer.setTitle(QStringLiteral("Vantor Group Policies"));
        writer.setCreator(QStringLiteral("Vantor Netwarden"));
        QTextDocument document;
        document.setMarkdown(markdown);
        document.print(&writer);
    }
    return QFileInfo(pdfPath).size() > 0;
}

}  // namespace vn
