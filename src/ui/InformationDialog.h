#pragma once

#include <QList>

class QDialog;
class QLabel;
class QString;

namespace vn {

class HyperlinkLabel;

// Lays out a dialog that only informs: the information icon at (15, 15) and,
// beside it one under the other, the texts, a link to url (the object
// "downloadLink") and the OK button. Returns the link.
HyperlinkLabel* LayOutInformationDialog(QDialog& dialog, const QString& title, const QList<QLabel*>& texts,
                                        const QString& url);

}  // namespace vn
