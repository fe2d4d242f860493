#pragma once

#include <QLabel>
#include <QUrl>

namespace vn {

// A label drawn as a link: blue (the palette's link colour), underlined, with
// the hand cursor. A left click, or Space or Enter while it has the focus,
// emits clicked() and, when it has a URL, opens that URL with the desktop's
// default handler; when none can open it, a message box says so.
class HyperlinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit HyperlinkLabel(const QString& text = {}, QWidget* parent = nullptr);

    // Without a text of its own the label shows the URL.
    void SetUrl(const QUrl& url);
    QUrl Url() const { return url_; }

    // What a click does; also callable by the program.
    void Activate();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QUrl url_;
    bool pressed_ = false;
};

}  // namespace vn
