#pragma once

#include <QString>

class QFontMetrics;
class QStyle;

namespace vn {

struct ComputerReport;

// A computer report as the rich text of a tool tip: the error or information
// icon and the computer's name as a bold title, then the report's lines,
// wrapped at word boundaries so that none is wider than maxWidth pixels.
QString ComputerReportTip(const ComputerReport& report, const QStyle& style, const QFontMetrics& metrics,
                          int maxWidth = 300);

// Breaks one line of text into lines no wider than maxWidth where it can
// (a single word wider than that stays whole).
QStringList WrapToWidth(const QString& line, const QFontMetrics& metrics, int maxWidth);

}  // namespace vn
