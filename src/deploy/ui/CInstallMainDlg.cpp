#include "deploy/ui/CInstallMainDlg.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "core/MessageBoxService.h"
#include "core/StatusSink.h"
#include "deploy/CInstallThread.h"
#include "deploy/DestinationPathSetting.h"
#include "deploy/DispatchedInstallStatusSink.h"
#include "deploy/ToolDirectory.h"
#include "deploy/ui/CInstallComputersPage.h"
#include "deploy/ui/CInstallStatusPage.h"
#include "inventory/TextFileWriter.h"
#include "pictures/PictureIds.h"
#include "pictures/ResourceIcon.h"
#include "platform/Platform.h"
#include "ui/HeaderBand.h"

namespace vn {
namespace {

constexpr int kBandHeight = 60;
constexpr int kButtonStrip = 32;
constexpr int kProgressHeight = 230;
constexpr int kDetailsMinimumHeight = 400;
constexpr int kGivenPort = 2002;
// 386 by 308 dialog units of the dialog font.
constexpr QSize kDesignedSize(580, 500);

struct PageTexts {
    const char* title;
    const char* subtitle;
};

constexpr PageTexts kPageTexts[] = {
    {"Select the target computers for Vantor deployment.",
     "You may also import a list of computers from a text file. The file should contain one computer name per line."},
    {"Ready to Installing Vantor.", "The Wizard is ready to begin installation."},
    {"", "You can stop the installation procedure at any time with the cancel button."},
};

QPushButton* MakeButton(const char* name, const char* text, int picture, const char* tip, QWidget* parent) {
    auto* button = new QPushButton(ResourceIcon(picture), QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromLatin1(tip));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CInstallMainDlg::CInstallMainDlg(Platform& platform, std::vector<InstallTarget>& targets, QWidget* parent,
                                 InstallDialogServices services)
    : QDialog(parent),
      platform_(platform),
      targets_(targets),
      toolDirectory_(ReadToolDirectory(platform.registry())),
      services_(std::move(services)),
      band_(new HeaderBand(kBandHeight, HeaderBand::BottomEdge, this)),
      title_(new QLabel(band_)),
      subtitle_(new QLabel(band_)),
      bottomLine_(new QFrame(this)),
      targetsPage_(new CInstallComputersPage(platform, services_, this)),
      readyPage_(new CInstallFinalPage(this)),
      statusPage_(new CInstallStatusPage(this)),
      details_(MakeButton("showDetails", "Show Details", picture::kWizardDetails,
                          "Show detailed information about deployment", this)),
      export_(
          MakeButton("export", "Export", picture::kToolExport, "Export the installation results to a text file", this)),
      back_(MakeButton("back", "Back", picture::kWizardBack, "Previous installation step", this)),
      next_(MakeButton("next", "Next", picture::kWizardNext, "Next installation step", this)),
      close_(MakeButton("close", "Close", picture::kWizardClose, "Close installation dialog", this)),
      dispatchTarget_(new QObject(this)) {
    setWindowTitle(QStringLiteral("Install"));
    setWindowIcon(ResourceIcon(picture::kMainIcon));
    setSizeGripEnabled(true);
    QFont titleFont = font();
    titleFont.setBold(true);
    title_->setFont(titleFont);
    title_->setObjectName(QStringLiteral("title"));
    subtitle_->setObjectName(QStringLiteral("subtitle"));
    subtitle_->setWordWrap(true);
    bottomLine_->setFrameShape(QFrame::HLine);
    bottomLine_->setFrameShadow(QFrame::Sunken);

    connect(next_, &QPushButton::clicked, this, &CInstallMainDlg::Next);
    connect(back_, &QPushButton::clicked, this, &CInstallMainDlg::Back);
    connect(close_, &QPushButton::clicked, this, &CInstallMainDlg::Close);
    connect(details_, &QPushButton::clicked, this, &CInstallMainDlg::ToggleDetails);
    connect(export_, &QPushButton::clicked, this, &CInstallMainDlg::Export);

    sink_ = std::make_unique<DispatchedInstallStatusSink>(BlockingCallDispatcher(dispatchTarget_), *statusPage_);
    runner_ = std::make_unique<CInstallThread>(platform_.processes(), targets_, toolDirectory_, *sink_);
    statusPage_->onRunning = [this](bool running) {
        if (running) {
            close_->setText(QStringLiteral("Cancel"));
            export_->setEnabled(false);
        } else {
            RunEnded();
        }
    };
    statusPage_->onAsking = [this] { stopPending_ = false; };

    // The tool directory is a path of this computer: the targets get the
    // destination path of the settings instead.
    const std::string destination = ReadDefaultDestinationPath(platform_.registry());
    for (InstallTarget& target : targets_) {
        target.destinationPath = destination;
        target.port = kGivenPort;
    }
    targetsPage_->SetDefaultPath(destination);
    targetsPage_->Load(targets_);

    resize(kDesignedSize);
    readyPage_->hide();
    statusPage_->hide();
    GoTo(kTargetsPage);
}

CInstallMainDlg::~CInstallMainDlg() {
    // Never left under a running runner: end its tool, release its waiting
    // calls unrun, and wait for it.
    if (runner_->IsRunning())
        runner_->EndTool();
    delete dispatchTarget_;
    runner_.reset();
}

bool CInstallMainDlg::IsRunning() const { return runner_->IsRunning(); }

void CInstallMainDlg::GoTo(Page page) {
    QWidget* pages[] = {targetsPage_, readyPage_, statusPage_};
    pages[page_]->hide();
    pages[page_]->setEnabled(false);
    page_ = page;
    pages[page_]->setEnabled(true);
    pages[page_]->show();
    title_->setText(page == kProgressPage ? progressTitle_ : QString::fromLatin1(kPageTexts[page].title));
    subtitle_->setText(QString::fromLatin1(kPageTexts[page].subtitle));
    const bool shown[][5] = {
        // next, back, close, details, export
        {true, false, true, false, false},
        {true, true, true, false, false},
        {false, false, true, true, true},
    };
    QPushButton* buttons[] = {next_, back_, close_, details_, export_};
    for (int i = 0; i < 5; ++i) {
        buttons[i]->setVisible(shown[page][i]);
        buttons[i]->setEnabled(shown[page][i]);
    }
    LayOut();
    pages[page_]->setFocus();
}

void CInstallMainDlg::LayOut() {
    const int w = width();
    const int h = height();
    if (w <= 300 || h <= 90)
        return;
    band_->setGeometry(0, 0, w, kBandHeight);
    title_->setGeometry(4, 4, w - 8, 22);
    subtitle_->setGeometry(8, 26, w - 16, 30);
    for (QWidget* page :
         {static_cast<QWidget*>(targetsPage_), static_cast<QWidget*>(readyPage_), static_cast<QWidget*>(statusPage_)})
        page->setGeometry(0, kBandHeight, w, h - kButtonStrip - kBandHeight);
    bottomLine_->setGeometry(0, h - kButtonStrip, w, 2);
    details_->setGeometry(4, h - 26, 100, 22);
    export_->setGeometry(108, h - 26, 90, 22);
    close_->setGeometry(w - 4 - 90, h - 26, 90, 22);
    next_->setGeometry(close_->x() - 4 - 90, h - 26, 90, 22);
    const int backRight = (next_->isVisible() ? next_->x() : close_->x()) - 4;
    back_->setGeometry(backRight - 90, h - 26, 90, 22);
}

void CInstallMainDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayOut();
    KeepSavedRectangle();
}

void CInstallMainDlg::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    KeepSavedRectangle();
}

void CInstallMainDlg::KeepSavedRectangle() {
    if (page_ != kProgressPage)
        return;
    const QRect now = geometry();
    if (detailsShown_)
        savedRect_ = now;
    else
        savedRect_ = QRect(now.left(), now.top(), now.width(), std::max(savedRect_.height(), kDetailsMinimumHeight));
}

void CInstallMainDlg::ShrinkToProgressHeight() {
    setGeometry(QRect(savedRect_.left(), savedRect_.top(), savedRect_.width(), kProgressHeight));
}

void CInstallMainDlg::Next() {
    if (page_ == kTargetsPage) {
        if (!targetsPage_->Next(targets_))
            return;
        progressTitle_ = QString::fromStdString(
            FormatText("Installing Vantor on %d computer(s)...", static_cast<int>(targets_.size())));
        GoTo(kReadyPage);
    } else if (page_ == kReadyPage) {
        savedRect_ = geometry();
        GoTo(kProgressPage);
        runner_->Start();
        ShrinkToProgressHeight();
    }
}

void CInstallMainDlg::Back() {
    if (page_ == kReadyPage)
        GoTo(kTargetsPage);
}

void CInstallMainDlg::Close() {
    if (page_ == kProgressPage && runner_->IsRunning()) {
        stopPending_ = true;
        runner_->GetStopEvent().Set();
        return;
    }
    done(QDialog::Rejected);
}

void CInstallMainDlg::reject() {
    if (page_ != kProgressPage || !runner_->IsRunning() || closeWhenDone_) {
        if (!closeWhenDone_)
            done(QDialog::Rejected);
        return;
    }
    if (!stopPending_) {
        Close();
        return;
    }
    // The tool has not ended since the last stop request: it may hang.
    if (ShowMessage(kAppCaption,
                    "The deployment tool has not ended yet. Do you want to end it now and close the wizard?",
                    MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes) {
        closeWhenDone_ = true;
        runner_->EndTool();
    }
}

void CInstallMainDlg::RunEnded() {
    close_->setText(QStringLiteral("Close"));
    export_->setEnabled(true);
    stopPending_ = false;
    // Closed once the runner has returned from this call.
    if (closeWhenDone_)
        QTimer::singleShot(0, this, [this] { done(QDialog::Rejected); });
}

void CInstallMainDlg::ToggleDetails() {
    if (page_ != kProgressPage)
        return;
    if (!detailsShown_) {
        detailsShown_ = true;
        setGeometry(savedRect_);
        details_->setText(QStringLiteral("Hide Details"));
        statusPage_->ShowDetailsList(true);
    } else {
        detailsShown_ = false;
        ShrinkToProgressHeight();
        details_->setText(QStringLiteral("Show Details"));
        statusPage_->ShowDetailsList(false);
    }
}

void CInstallMainDlg::Export() {
    const std::optional<QString> path = services_.chooseExportFile(this);
    if (!path)
        return;
    // Lines end as text files of the target computers do.
    std::string text;
    for (const std::string& line : statusPage_->DetailLines())
        text += line + "\r\n";
    const std::string name = path->toStdString();
    if (std::string reason; !WriteTextFile(name, text, reason))
        ShowMessage(kAppCaption, "Could not open file \"" + name + "\". Error message: " + reason, MessageIcon::Stop);
}

}  // namespace vn
