#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vn {

// The progress panel of running scans: a status line, a progress bar and a
// Cancel button, laid out at fixed offsets from the panel's edges. Cancel
// leaves the panel as it is apart from an acknowledgement text and asks the
// main window to stop every scan.
class CTreeStatus : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kCancelAcknowledgedText =
        "Cancel request acknowledged. Please wait while Vantor Netwarden finishes scanning the "
        "current resource...";

    explicit CTreeStatus(QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const;

    // Progress from 0 to upper; like the control it stands for, the panel
    // keeps only the low 16 bits of upper (70000 becomes 4464).
    void SetRange(int upper);
    int RangeMaximum() const { return maximum_; }
    // Positions outside the range are clamped to it.
    void SetPos(int position);
    int Pos() const { return position_; }
    void Step() { SetPos(position_ + 1); }

    QLabel* TextLabel() const { return text_; }
    QProgressBar* ProgressBar() const { return progress_; }
    QPushButton* CancelButton() const { return cancel_; }

signals:
    // Sent when Cancel is pressed, after the acknowledgement text is set.
    void stopScansRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayOutChildren();
    void OnCancel();

    QLabel* text_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    int maximum_ = 100;
    int position_ = 0;
};

}  // namespace vn
