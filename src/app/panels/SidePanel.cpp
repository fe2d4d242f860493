#include "app/panels/SidePanel.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "pictures/ResourceIcon.h"
#include "ui/HeaderBand.h"

namespace vn {
namespace {

constexpr int kBandHeight = 54;
constexpr int kStretchFrom = 390;  // wider than this, controls follow the width
constexpr int kDesignedWidth = 380;
constexpr int kMargin = 5;
constexpr int kBandGap = 6;  // between the band and the first control
constexpr int kSpacing = 4;  // between controls: a text and the link it speaks of belong together
constexpr int kBottomGap = 6;
constexpr int kIconPosition = 10;
constexpr int kIconSize = 32;
constexpr int kTitleX = kIconPosition + kIconSize + 10;
constexpr int kBandButtonGap = 12;  // at least this between the title and a button in the band

}  // namespace

SidePanel::SidePanel(int pictureId, const QString& title, QWidget* parent)
    : QWidget(parent),
      heading_(new QLabel(title, this)) {
    setAutoFillBackground(true);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("panelPicture"));
    picture->setPixmap(ResourceIcon(pictureId).pixmap(kIconSize, kIconSize));
    picture->setGeometry(kIconPosition, kIconPosition, kIconSize, kIconSize);

    heading_->setObjectName(QStringLiteral("panelTitle"));
    heading_->setFont(HeaderBand::TitleFont(font()));
    heading_->setGeometry(kTitleX, kIconPosition, heading_->sizeHint().width(), kIconSize);
    setMinimumHeight(kBandHeight);
    // Narrower, the texts would be cut: the column beside gives way instead.
    setMinimumWidth(kDesignedWidth + 2 * kMargin);
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

void SidePanel::SetBandButton(QWidget* button) {
    button->setParent(this);
    bandButton_ = button;
    LayOut();
}

void SidePanel::LayOut() {
    const int controlWidth = ControlWidth();
    std::vector<QWidget*> below = controls_;
    if (bandButton_ != nullptr) {
        const QSize button = bandButton_->sizeHint();
        const int x = width() - kMargin - button.width();
        if (x >= heading_->geometry().right() + kBandButtonGap)
            bandButton_->setGeometry(x, (kBandHeight - button.height()) / 2, button.width(), button.height());
        else
            below.push_back(bandButton_);
    }
    int y = kBandHeight + kBandGap;
    for (QWidget* control : below) {
        // Buttons and links keep their own width; texts run across the panel.
        const bool text = qobject_cast<QLabel*>(control) != nullptr && static_cast<QLabel*>(control)->wordWrap();
        const int w = text ? controlWidth : control->sizeHint().width();
        const int h = text ? control->heightForWidth(w) : control->sizeHint().height();
        control->setGeometry(kMargin, y, w, h);
        y += h + kSpacing;
    }
    // The splitter gives the panel at least this, so nothing of it is cut.
    setMinimumHeight(y - kSpacing + kBottomGap);
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
