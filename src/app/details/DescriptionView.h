#pragma once

#include <QScrollArea>

class QLabel;
class QPushButton;

namespace vn {

class HyperlinkLabel;
struct InventoryNode;

// Base of the six details views: a scrollable form with a white strip
// across its top, a 32-pixel picture at (10, 10) and a large bold title on
// the strip. Controls sit at fixed positions of the form's own coordinates,
// so they move with the scroll position. Buttons and links send command
// numbers to the main window through commandRequested.
class DescriptionView : public QScrollArea {
    Q_OBJECT
public:
    // The node last given to the view (the tree owns it); null for the
    // fixed views. Only compared, never read after ShowNode returned.
    const InventoryNode* Node() const { return node_; }
    QLabel* Title() const { return title_; }
    // Whether the view was too short for the "What Netwarden detects" link
    // under the button row, so that the link stands beside it.
    bool LinkBesideButton() const { return besideButton_; }
    // The whole title; the label shows it cut short with "..." (and whole
    // as its tip) only where the view is too narrow for it.
    const QString& TitleText() const { return titleText_; }
    // Back to the top left of the form, where the title is.
    void ScrollToTop();
    QLabel* Picture() const { return picture_; }
    QWidget* Form() const { return form_; }

signals:
    void commandRequested(int commandId);

protected:
    DescriptionView(int stripHeight, QSize formSize, QWidget* parent);

    void SetNode(const InventoryNode* node) { node_ = node; }
    void SetTitle(const QString& text);
    void SetPicture(const QIcon& icon);
    // A label on the form at that place, in the dialog font (bold when asked).
    QLabel* AddLabel(const QString& text, const QRect& place, bool bold = false);
    // The "Rescan" button and the "What Netwarden detects" link; placed
    // below a box that ends at boxBottom (the link also without the button).
    void AddRescanButton();
    void AddDetectsLink(int linkControlId);
    void PlaceRescanAndDetectsLink(int boxBottom);
    // The form reaches down to height (it also follows the view's size).
    void SetFormHeight(int height);
    void resizeEvent(QResizeEvent* event) override;
    // Called after the form got a new width; views re-place width-bound controls.
    virtual void OnFormWidthChanged() {}

    int FormWidth() const;

private:
    int MinimumFormHeight() const;
    void PlaceTitle();
    void PlaceButtonRow();

private:
    class StripForm;

    const InventoryNode* node_ = nullptr;
    QWidget* form_;
    QLabel* picture_;
    QLabel* title_;
    QString titleText_;
    QPushButton* rescan_ = nullptr;
    HyperlinkLabel* detectsLink_ = nullptr;
    QSize formSize_;      // the designed size: the form is never narrower
    int contentHeight_;   // down to the last control
    int boxBottom_ = -1;  // where the button row goes below; none yet
    bool besideButton_ = false;
};

// The control number a view's control was designed with, kept as the
// widget's property "controlId".
void SetControlId(QWidget* control, int id);
int ControlIdOf(const QWidget* control);

}  // namespace vn
