#pragma once

#include <QWidget>
#include <vector>

class QLabel;

namespace vn {

// Base of the two panels below the details pane: a white band across the
// top with the panel's picture and title, then its controls one below the
// other. While the panel is wider than 390 pixels the texts stretch to its
// width less 10 pixels; narrower, they keep their designed width. The
// panel's minimum height is what its content needs, so it is never cut.
class SidePanel : public QWidget {
    Q_OBJECT
protected:
    SidePanel(int pictureId, const QString& title, QWidget* parent);

    // Adds a control below the previous one; word-wrapped labels take the
    // height their text needs at the current width.
    void AddControl(QWidget* control);
    // A word-wrapped text, added.
    QLabel* AddText(const QString& text);
    // The panel's button: at the right end of the band while the band has
    // room for it beside the title (the panel then needs a row less, which
    // the details pane above gets), else below the other controls.
    void SetBandButton(QWidget* button);

    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

public:
    // The width the controls get at the panel's current width.
    int ControlWidth() const;

private:
    void LayOut();

    std::vector<QWidget*> controls_;
    QLabel* heading_;
    QWidget* bandButton_ = nullptr;
};

}  // namespace vn
