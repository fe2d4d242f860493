#include "ui/TextFit.h"

#include <QApplication>
#include <QGridLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyle>
#include <algorithm>

namespace vn {
namespace {

// Beyond this a line edit scrolls its text.
constexpr int kWidestLineEdit = 480;
// The window frame's icon and its three buttons beside the title, with the
// frame's borders: what a window manager commonly takes.
constexpr int kTitleBarFurniture = 4 * 24 + 24;

}  // namespace

void FitLineEditToText(QLineEdit& edit) {
    // The frame and the inner margins the style draws around the text.
    const int chrome = 2 * edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit) + 8;
    const int wanted = edit.fontMetrics().horizontalAdvance(edit.text()) + chrome;
    edit.setMinimumWidth(std::min(std::max(edit.minimumWidth(), wanted), kWidestLineEdit));
    edit.setCursorPosition(0);
}

void FitTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr)
        return;
    // The title is drawn by the window manager, in a bold face of about the
    // application's size.
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarFurniture;
    // The box sets its own fixed size from its layout's minimum: a spacer
    // as wide as the title takes part in it.
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

}  // namespace vn
