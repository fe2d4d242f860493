#include "app/ComputerReportTip.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QIcon>
#include <QStringList>
#include <QStyle>

#include "inventory/ComputerReport.h"

namespace vn {
namespace {

QString IconAsDataUrl(const QStyle& style, QStyle::StandardPixmap which) {
    const QPixmap pixmap = style.standardIcon(which).pixmap(16, 16);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    pixmap.save(&buffer, "PNG");
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

}  // namespace

QStringList WrapToWidth(const QString& line, const QFontMetrics& metrics, int maxWidth) {
    QStringList lines;
    QString current;
    for (const QString& word : line.split(QLatin1Char(' '))) {
        const QString candidate = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (!current.isEmpty() && metrics.horizontalAdvance(candidate) > maxWidth) {
            lines << current;
            current = word;
        } else {
            current = candidate;
        }
    }
    lines << current;
    return lines;
}

QString ComputerReportTip(const ComputerReport& report, const QStyle& style, const QFontMetrics& metrics,
                          int maxWidth) {
    const QString icon =
        IconAsDataUrl(style, report.IsError ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxInformation);
    QStringList body;
    for (const QString& line : report.Text.split(QStringLiteral("\r\n"))) {
        for (const QString& part : WrapToWidth(line, metrics, maxWidth))
            body << part.toHtmlEscaped();
    }
    return QStringLiteral(
               "<table cellspacing=\"0\" cellpadding=\"1\"><tr><td><img src=\"%1\" width=\"16\" "
               "height=\"16\"></td><td><b>%2</b></td></tr></table><p style=\"white-space:pre\">%3</p>")
        .arg(icon, report.Title.toHtmlEscaped(), body.join(QStringLiteral("<br>")));
}

}  // namespace vn
