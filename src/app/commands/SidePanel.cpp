#include "app/commands/SidePanel.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "ui/HeaderBand.h"
#include "ui/ResourceIcon.h"

namespace vn {
namespace {

constexpr int kBandHeight = 54;
constexpr int kStretchFrom = 390;  // wider than this, controls follow the width
constexpr int kDesignedWidth = 380;
constexpr int kMargin = 5;
constexpr int kSpacing = 8;
constexpr int kIconPosition = 10;
constexpr int kIconSize = 32;

}  // namespace

SidePanel::SidePanel(int pictureId, const QString& title, QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("panelPicture"));
    picture->setPixmap(ResourceIcon(pictureId).pixmap(kIconSize, kIconSize));
    picture->setGeometry(kIconPosition, kIconPosition, kIconSize, kIconSize);

    auto* heading = new QLabel(title, this);
    heading->setObjectName(QStringLiteral("panelTitle"));
    heading->setFont(HeaderBand::TitleFont(font()));
    heading->setGeometry(kIconPosition + kIconSize + 10, kIconPosition, 330, kIconSize);
    setMinimumHeight(kBandHeight);
}

int SidePanel::ControlWidth() const { return width() > kStretchFrom ? width() - 2 * kMargin : kDesignedWidth; }

void SidePanel::AddControl(QWidget* control) {
    control->setParent(this);
    controls_.push_back(control);
    LayOut();
}

QLabel* SidePanel::AddText(const QString& text) {
    auto* label = new QLabel(text, this);
    label->setWordWrap(true);
    AddControl(label);
    return label;
}

void SidePanel::LayOut() {
    const int controlWidth = ControlWidth();
    int y = kBandHeight + kSpacing;
    for (QWidget* control : controls_) {
        // Buttons and links keep their own width; texts run across the panel.
        const bool text = qobject_cast<QLabel*>(control) != nullptr && static_cast<QLabel*>(control)->wordWrap();
        const int w = text ? controlWidth : control->sizeHint().width();
        const int h = text ? control->heightForWidth(w) : control->sizeHint().height();
        control->setGeometry(kMargin, y, w, h);
        y += h + kSpacing;
    }
    // The pane scrolls instead of squeezing the panel and hiding its last controls.
    setMinimumHeight(y);
}

void SidePanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

void SidePanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    HeaderBand::Paint(painter, QRect(0, 0, width(), kBandHeight), HeaderBand::BottomEdge, palette());
}

}  // namespace vn
