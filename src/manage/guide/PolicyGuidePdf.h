#pragma once

#include <QString>

namespace vn {

// Lays out the policy guide, written in Markdown, on A4 pages and writes it
// as a PDF file. Needs a QGuiApplication (fonts). False when nothing could be
// written.
bool WritePolicyGuidePdf(const QString& markdown, const QString& pdfPath);

}  // namespace vn
