#include "discovery/ui/CTreeStatus.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <cstdint>

namespace vn {

CTreeStatus::CTreeStatus(QWidget* parent)
    : QWidget(parent),
      text_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
    setObjectName(QStringLiteral("CTreeStatus"));
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text_->setWordWrap(true);
    // A long status line is clipped by the label, not allowed to widen the panel.
    text_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    progress_->setTextVisible(false);
    progress_->setRange(0, maximum_);
    progress_->setValue(0);
    connect(cancel_, &QPushButton::clicked, this, &CTreeStatus::OnCancel);
    LayOutChildren();
}

void CTreeStatus::SetText(const QString& text) { text_->setText(text); }

QString CTreeStatus::Text() const { return text_->text(); }

void CTreeStatus::SetRange(int upper) {
    maximum_ = static_cast<std::uint16_t>(upper);
    // A 0..0 bar would be drawn by Qt as a busy indicator; an empty bar is meant.
    progress_->setRange(0, std::max(maximum_, 1));
    SetPos(position_);
}

void CTreeStatus::SetPos(int position) {
    position_ = std::clamp(position, 0, maximum_);
    progress_->setValue(position_);
}

void CTreeStatus::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOutChildren();
}

void CTreeStatus::LayOutChildren() {
    const int w = width();
    text_->setGeometry(4, 4, w - 8, 40);
    cancel_->setGeometry(w - 74, 46, 70, 20);
    progress_->setGeometry(4, 46, w - 80, 20);
}

void CTreeStatus::OnCancel() {
    SetText(QString::fromLatin1(kCancelAcknowledgedText));
    emit stopScansRequested();
}

}  // namespace vn
