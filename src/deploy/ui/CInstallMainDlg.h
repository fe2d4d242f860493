#pragma once

#include <QDialog>
#include <QRect>
#include <memory>
#include <string>
#include <vector>

#include "deploy/InstallTarget.h"
#include "deploy/ui/InstallDialogServices.h"

class QFrame;
class QLabel;
class QPushButton;

namespace vn {

class CInstallComputersPage;
class CInstallFinalPage;
class CInstallStatusPage;
class CInstallThread;
class DispatchedInstallStatusSink;
class HeaderBand;
class Platform;

// The deployment wizard: the target list, the ready page, and the progress
// page on which its one runner reports. It edits the caller's target list in
// place. Enter never ends it; Close, Escape and the close box end it, except
// during a run: then Close asks the runner to stop after the tool's current
// run, and Escape or the close box do the same, or, with such a request
// still waiting (the tool hangs), offer to end the tool and close.
class CInstallMainDlg final : public QDialog {
    Q_OBJECT
public:
    enum Page { kTargetsPage, kReadyPage, kProgressPage };

    CInstallMainDlg(Platform& platform, std::vector<InstallTarget>& targets, QWidget* parent = nullptr,
                    InstallDialogServices services = InstallDialogServices::Standard());
    ~CInstallMainDlg() override;

    Page CurrentPage() const { return page_; }
    bool IsRunning() const;
    CInstallComputersPage* TargetsPage() const { return targetsPage_; }
    CInstallStatusPage* StatusPage() const { return statusPage_; }

    void Next();
    void Back();
    void Close();
    void ToggleDetails();
    void Export();

    void accept() override {}
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void GoTo(Page page);
    void LayOut();
    void KeepSavedRectangle();
    void ShrinkToProgressHeight();
    void RunEnded();

    Platform& platform_;
    std::vector<InstallTarget>& targets_;
    std::string toolDirectory_;
    InstallDialogServices services_;

    HeaderBand* band_;
    QLabel* title_;
    QLabel* subtitle_;
    QFrame* bottomLine_;
    CInstallComputersPage* targetsPage_;
    CInstallFinalPage* readyPage_;
    CInstallStatusPage* statusPage_;
    QPushButton* details_;
    QPushButton* export_;
    QPushButton* back_;
    QPushButton* next_;
    QPushButton* close_;

    Page page_ = kTargetsPage;
    QString progressTitle_;
    bool detailsShown_ = false;
    QRect savedRect_;
    bool stopPending_ = false;    // a stop request the runner has not answered yet
    bool closeWhenDone_ = false;  // the tool was ended to close the wizard

    QObject* dispatchTarget_;  // the runner's calls run through it; deleted first
    std::unique_ptr<DispatchedInstallStatusSink> sink_;
    std::unique_ptr<CInstallThread> runner_;
};

}  // namespace vn
