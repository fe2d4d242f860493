#include "ui/HyperlinkLabel.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "core/MessageBoxService.h"

namespace vn {

HyperlinkLabel::HyperlinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    QFont linkFont = font();
    linkFont.setUnderline(true);
    setFont(linkFont);
    QPalette linkPalette = palette();
    linkPalette.setColor(QPalette::WindowText, linkPalette.color(QPalette::Link));
    setPalette(linkPalette);
    setCursor(Qt::PointingHandCursor);
    // The text is shown as it is, never as rich text or as a link of QLabel's own.
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::NoTextInteraction);
    // After the interaction flags, which reset the focus policy: a tab stop like a button.
    setFocusPolicy(Qt::StrongFocus);
}

void HyperlinkLabel::SetUrl(const QUrl& url) {
    url_ = url;
    if (text().isEmpty())
        setText(url.toString());
    setToolTip(url.toString());
}

void HyperlinkLabel::Activate() {
    emit clicked();
    if (!url_.isValid())
        return;
    // Without a browser (or a desktop that names one) nothing would happen
    // but a line on standard error, which a user of the window never sees.
    if (!QDesktopServices::openUrl(url_)) {
        const std::string address = url_.toString().toStdString();
        ShowMessage(kAppCaption, "Could not open \"" + address + "\". No web browser could be started for it.",
                    MessageIcon::Warning);
    }
}

void HyperlinkLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    pressed_ = true;
    event->accept();
}

// A click counts when the button goes up over the label, as with buttons.
void HyperlinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    const bool wasPressed = pressed_;
    pressed_ = false;
    event->accept();
    if (wasPressed && rect().contains(event->position().toPoint()))
        Activate();
}

void HyperlinkLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        Activate();
        return;
    default: QLabel::keyPressEvent(event);
    }
}

void HyperlinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = contentsRect();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

}  // namespace vn
