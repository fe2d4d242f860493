#include "deploy/ui/CInstallStatusPage.h"

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>

#include "core/MessageBoxService.h"

namespace vn {
namespace {

constexpr int kAnimationMilliseconds = 100;

QString LeftOutText(int count) { return QStringLiteral("... %1 line(s) left out ...").arg(count); }

QProgressBar* MakeBar(const char* name, QWidget* parent) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setTextVisible(false);
    bar->setRange(0, 100);
    bar->setValue(0);
    return bar;
}

}  // namespace

CInstallStatusPage::CInstallStatusPage(QWidget* parent)
    : QWidget(parent),
      computerLine_(new QLabel(this)),
      totalLabel_(new QLabel(QStringLiteral("Total progress:"), this)),
      total_(MakeBar("total", this)),
      currentLabel_(new QLabel(QStringLiteral("Current progress:"), this)),
      current_(MakeBar("current", this)),
      errorNote_(new QLabel(QStringLiteral("One or more of the computers reported an error, please open the details "
                                           "view to see detailed messages. "),
                            this)),
      details_(new QListWidget(this)),
      timer_(new QTimer(this)) {
    computerLine_->setObjectName(QStringLiteral("computerLine"));
    currentLabel_->setObjectName(QStringLiteral("currentLabel"));
    errorNote_->setObjectName(QStringLiteral("errorNote"));
    errorNote_->setWordWrap(true);
    errorNote_->hide();
    details_->setObjectName(QStringLiteral("details"));
    details_->setSelectionMode(QAbstractItemView::NoSelection);
    details_->hide();
    timer_->setInterval(kAnimationMilliseconds);
    connect(timer_, &QTimer::timeout, this, [this] {
        ShowPending();
        Advance();
    });
}

void CInstallStatusPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int w = width();
    computerLine_->setGeometry(16, 8, std::max(0, w - 31), 20);
    // The labels keep their designed 90 pixels unless the font needs more:
    // a cut "Current progress:" was seen with the desktop's default font.
    const int labels = std::max({90, totalLabel_->sizeHint().width(), currentLabel_->sizeHint().width()});
    const int bars = 16 + labels + 4;
    totalLabel_->setGeometry(16, 35, labels, 20);
    total_->setGeometry(bars, 35, std::max(0, w - bars - 15), 20);
    currentLabel_->setGeometry(16, 60, labels, 20);
    current_->setGeometry(bars, 60, std::max(0, w - bars - 15), 20);
    errorNote_->setGeometry(16, 65, std::max(0, w - 31), 27);
    details_->setGeometry(0, 100, w, std::max(0, height() - 100));
}

void CInstallStatusPage::Advance() {
    if (!animating_)
        return;
    current_->setValue(current_->value() >= current_->maximum() ? 0 : current_->value() + 1);
}

void CInstallStatusPage::BeginRun(int count) {
    details_->clear();
    pendingFirst_.clear();
    pendingLast_.clear();
    targetStart_ = 0;
    targetEntries_ = 0;
    total_->setRange(0, count);
    total_->setValue(0);
    timer_->start();
    if (onRunning)
        onRunning(true);
}

void CInstallStatusPage::SetAnimating(bool on) { animating_ = on; }

void CInstallStatusPage::SetComputerLine(const std::string& text) {
    computerLine_->setText(QString::fromStdString(text));
    ShowPending();  // the last target's entries stay in its part
    targetStart_ = details_->count();
    targetEntries_ = 0;
}

void CInstallStatusPage::AddDetails(const std::string& text) {
    for (std::string& entry : DetailEntries(text)) {
        if (targetEntries_++ < kKeptEntries) {
            pendingFirst_.push_back(std::move(entry));
            continue;
        }
        pendingLast_.push_back(std::move(entry));
        if (pendingLast_.size() > static_cast<std::size_t>(kKeptEntries))
            pendingLast_.pop_front();
    }
}

void CInstallStatusPage::ShowPending() {
    if (pendingFirst_.empty() && pendingLast_.empty())
        return;
    for (const std::string& entry : pendingFirst_)
        details_->addItem(QString::fromStdString(entry));
    for (const std::string& entry : pendingLast_)
        details_->addItem(QString::fromStdString(entry));
    pendingFirst_.clear();
    pendingLast_.clear();
    if (const int leftOut = targetEntries_ - 2 * kKeptEntries; leftOut > 0) {
        // A note that was there before is now the oldest entry behind the
        // new one, and goes first.
        const int note = targetStart_ + kKeptEntries;
        details_->insertItem(note, LeftOutText(leftOut));
        while (details_->count() - (note + 1) > kKeptEntries)
            delete details_->takeItem(note + 1);
    }
    details_->scrollToBottom();
}

void CInstallStatusPage::SetTotalPos(int position) { total_->setValue(position); }

bool CInstallStatusPage::AskToStop(const std::string& question) {
    ShowPending();
    if (onAsking)
        onAsking();
    return ShowMessage(kAppCaption, question, MessageIcon::None, MessageButtons::YesNo) == MessageAnswer::Yes;
}

std::vector<std::string> CInstallStatusPage::DetailLines() {
    ShowPending();
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(details_->count()));
    for (int row = 0; row < details_->count(); ++row)
        lines.push_back(details_->item(row)->text().toStdString());
    return lines;
}

void CInstallStatusPage::EndRun(const std::string& summary, bool errors) {
    ShowPending();
    computerLine_->setText(QString::fromStdString(summary));
    animating_ = false;
    current_->setValue(current_->maximum());
    timer_->stop();
    if (errors) {
        current_->hide();
        currentLabel_->hide();
        errorNote_->show();
    }
    if (onRunning)
        onRunning(false);
}

void CInstallStatusPage::ShowDetailsList(bool show) { details_->setVisible(show); }

CInstallFinalPage::CInstallFinalPage(QWidget* parent)
    : QWidget(parent),
      begin_(new QLabel(QStringLiteral("Click Next to begin installation."), this)),
      review_(new QLabel(QStringLiteral("If you want to rewiew or change any of your installation settings, click "
                                        "Back. Click Close to exit the wizard."),
                         this)) {
    for (QLabel* label : {begin_, review_}) {
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setWordWrap(true);
    }
}

void CInstallFinalPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    begin_->setGeometry(0, 80, width(), 20);
    review_->setGeometry(0, 150, width(), 40);
}

}  // namespace vn
