#include "app/details/DescriptionView.h"

#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

#include "app/context/CommandIds.h"
#include "ui/HeaderBand.h"
#include "ui/HyperlinkLabel.h"

namespace vn {
namespace {

constexpr int kPicturePosition = 10;
constexpr int kPictureSize = 32;
constexpr int kTitleX = 52;
constexpr int kTitleY = 6;
constexpr int kRescanControl = 1030;
constexpr QSize kRescanSize{90, 22};
constexpr QSize kLinkSize{88, 25};
constexpr int kRescanGap = 8;       // below the box
constexpr int kLinkGap = 35;        // below the box
constexpr int kLinkBesideGap = 12;  // between the button and the link when they share a row

}  // namespace

// The form: paints the white strip; everything else is child controls.
class DescriptionView::StripForm final : public QWidget {
public:
    StripForm(int stripHeight, QWidget* parent) : QWidget(parent), stripHeight_(stripHeight) {
        setAutoFillBackground(true);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        HeaderBand::Paint(painter, QRect(0, 0, width(), stripHeight_), HeaderBand::BothEdges, palette());
    }

private:
    int stripHeight_;
};

void SetControlId(QWidget* control, int id) { control->setProperty("controlId", id); }

int ControlIdOf(const QWidget* control) { return control->property("controlId").toInt(); }

DescriptionView::DescriptionView(int stripHeight, QSize formSize, QWidget* parent)
    : QScrollArea(parent),
      form_(new StripForm(stripHeight, this)),
      picture_(new QLabel(form_)),
      title_(new QLabel(form_)),
      formSize_(formSize),
      contentHeight_(formSize.height()) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setWidget(form_);
    form_->resize(formSize_);

    picture_->setObjectName(QStringLiteral("picture"));
    picture_->setGeometry(kPicturePosition, kPicturePosition, kPictureSize, kPictureSize);
    title_->setObjectName(QStringLiteral("title"));
    title_->setFont(HeaderBand::TitleFont(font()));
    PlaceTitle();
}

void DescriptionView::SetTitle(const QString& text) {
    titleText_ = text;
    PlaceTitle();
}

void DescriptionView::PlaceTitle() {
    // The title runs to the form's right edge, so a long name uses the room
    // the pane has; only beyond that is it shortened, between letters.
    const int width = form_->width() - kTitleX - 10;
    title_->setGeometry(kTitleX, kTitleY, width, QFontMetrics(title_->font()).height() + 4);
    const QString shown = title_->fontMetrics().elidedText(titleText_, Qt::ElideRight, width);
    title_->setText(shown);
    title_->setToolTip(shown == titleText_ ? QString() : titleText_);
}

void DescriptionView::ScrollToTop() {
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void DescriptionView::SetPicture(const QIcon& icon) { picture_->setPixmap(icon.pixmap(kPictureSize, kPictureSize)); }

QLabel* DescriptionView::AddLabel(const QString& text, const QRect& place, bool bold) {
    auto* label = new QLabel(text, form_);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    label->setGeometry(place);
    return label;
}

void DescriptionView::AddRescanButton() {
    rescan_ = new QPushButton(QStringLiteral("Rescan"), form_);
    rescan_->setObjectName(QStringLiteral("rescan"));
    SetControlId(rescan_, kRescanControl);
    rescan_->resize(kRescanSize);
    connect(rescan_, &QPushButton::clicked, this, [this] { emit commandRequested(cmd::kRescan); });
}

void DescriptionView::AddDetectsLink(int linkControlId) {
    detectsLink_ = new HyperlinkLabel(QStringLiteral("What Netwarden detects"), form_);
    detectsLink_->setObjectName(QStringLiteral("detectsLink"));
    SetControlId(detectsLink_, linkControlId);
    detectsLink_->resize(kLinkSize);
    detectsLink_->setMinimumWidth(kLinkSize.width());
    connect(detectsLink_, &HyperlinkLabel::clicked, this,
            [this] { emit commandRequested(cmd::kWhatNetwardenDetects); });
}

void DescriptionView::PlaceRescanAndDetectsLink(int boxBottom) {
    boxBottom_ = boxBottom;
    PlaceButtonRow();
}

void DescriptionView::PlaceButtonRow() {
    if (detectsLink_ == nullptr || boxBottom_ < 0)
        return;
    const int x = 4;
    const int buttonY = boxBottom_ + kRescanGap;
    if (rescan_ != nullptr)
        rescan_->move(x, buttonY);
    // The link keeps its designed height but may need more width for its text.
    const int linkWidth = std::max(kLinkSize.width(), detectsLink_->sizeHint().width());
    // The link's box already leaves room below its text.
    const int stackedBottom = boxBottom_ + kLinkGap + kLinkSize.height();
    // Under the button where the view has the height for it, else beside
    // it, so that a short pane shows both without scrolling.
    besideButton_ = viewport()->height() < stackedBottom;
    if (besideButton_) {
        const int linkY = buttonY + (kRescanSize.height() - kLinkSize.height()) / 2;
        detectsLink_->setGeometry(x + kRescanSize.width() + kLinkBesideGap, linkY, linkWidth, kLinkSize.height());
        SetFormHeight(linkY + kLinkSize.height());
    } else {
        detectsLink_->setGeometry(x, boxBottom_ + kLinkGap, linkWidth, kLinkSize.height());
        SetFormHeight(stackedBottom);
    }
}

void DescriptionView::SetFormHeight(int height) {
    contentHeight_ = height;
    form_->resize(std::max(formSize_.width(), viewport()->width()), MinimumFormHeight());
}

int DescriptionView::MinimumFormHeight() const {
    // Scrolling reaches the last control; the designed form's empty rest
    // below it is not worth a scroll bar.
    return std::max(contentHeight_, viewport()->height());
}

int DescriptionView::FormWidth() const { return form_->width(); }

void DescriptionView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    const int width = std::max(formSize_.width(), viewport()->width());
    const bool widthChanged = width != form_->width();
    form_->resize(width, MinimumFormHeight());
    if (widthChanged) {
        PlaceTitle();
        OnFormWidthChanged();
    }
    if (event->size().height() != event->oldSize().height())
        PlaceButtonRow();
}

}  // namespace vn
