#include "manage/ui/CVtrPoliciesDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/MessageBoxService.h"
#include "manage/ui/ProgressAnimation.h"
#include "pictures/PictureIds.h"
#include "pictures/ResourceIcon.h"
#include "ui/HeaderBand.h"

namespace vn {
namespace {

constexpr int kBandHeight = 85;
constexpr int kIconSize = 32;
constexpr int kRefreshSteps = 10;
constexpr int kRefreshPauseMs = 15;

const char* const kRowLabels[kPolicyRowCount] = {
    "Logon:",         "Install:",         "LinkShare:",       "Admin Toolkit:",
    "Reboot:",        "Remote Control:",  "Remote Printing:", "Clipboard Transfer:",
    "File Transfer:", "Read (Download):", "Write (Upload):"};
const char* const kColumnNames[3] = {"computer", "user", "result"};

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QFont Bold(QFont font) {
    font.setWeight(QFont::Bold);
    return font;
}

QLabel* BoldLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(Bold(parent->font()));
    return label;
}

}  // namespace

CVtrPoliciesDlg::CVtrPoliciesDlg(Platform& platform, PolicyCheck& check, QWidget* parent)
    : QDialog(parent),
      platform_(platform),
      check_(check),
      runner_(this) {
    setWindowTitle(QStringLiteral("Vantor Policies"));
    setWindowIcon(ResourceIcon(picture::kMainIcon));

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, kRefreshSteps);
    progress_->setTextVisible(false);
    progress_->hide();
    message_ = new QLabel(Text(check_.MessageText()), this);
    message_->setObjectName(QStringLiteral("message"));

    auto* learnMore = new QPushButton(QStringLiteral("Learn more..."), this);
    learnMore->setObjectName(QStringLiteral("learnMore"));
    refresh_ = new QPushButton(QStringLiteral("Refresh"), this);
    refresh_->setObjectName(QStringLiteral("refresh"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(learnMore, &QPushButton::clicked, this, &CVtrPoliciesDlg::learnMoreRequested);
    connect(refresh_, &QPushButton::clicked, this, &CVtrPoliciesDlg::Refresh);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(learnMore);
    buttons->addStretch(1);
    buttons->addWidget(refresh_);
    buttons->addWidget(ok);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(12, 10, 12, 12);
    body->addLayout(CreateGrid());
    body->addWidget(progress_);
    body->addWidget(message_);
    body->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(CreateBand());
    layout->addLayout(body);

    ShowIdentity(DescribePolicyCheck(platform_, check_));
    ShowValues();
}

CVtrPoliciesDlg::~CVtrPoliciesDlg() = default;

QWidget* CVtrPoliciesDlg::CreateBand() {
    auto* band = new HeaderBand(kBandHeight, HeaderBand::BottomEdge, this);
    band->setMinimumHeight(kBandHeight);
    auto* icon = new QLabel(band);
    icon->setPixmap(ResourceIcon(picture::kPolicyPanel).pixmap(kIconSize, kIconSize));
    computer_ = BoldLabel(QString(), band);
    computer_->setObjectName(QStringLiteral("computer"));
    user_ = BoldLabel(QString(), band);
    user_->setObjectName(QStringLiteral("user"));

    auto* lines = new QGridLayout;
    lines->setVerticalSpacing(0);
    lines->addWidget(new QLabel(QStringLiteral("Vantor Group Policies in effect for above computer and user."), band),
                     2, 0, 1, 2);
    lines->addWidget(BoldLabel(QStringLiteral("Computer:"), band), 0, 0);
    lines->addWidget(computer_, 0, 1);
    lines->addWidget(BoldLabel(QStringLiteral("User:"), band), 1, 0);
    lines->addWidget(user_, 1, 1);
    lines->addWidget(new QLabel(QStringLiteral("Please note the policies will only update in this window after they "
                                               "have updated across the network."),
                                band),
                     3, 0, 1, 2);
    lines->setColumnStretch(1, 1);

    auto* layout = new QHBoxLayout(band);
    layout->setContentsMargins(12, 6, 12, 6);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(lines, 1);
    return band;
}

QLayout* CVtrPoliciesDlg::CreateGrid() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    const char* const headings[3] = {"Computer Policies", "User Policies", "Result"};
    for (int column = 0; column < 3; ++column)
        grid->addWidget(BoldLabel(QString::fromLatin1(headings[column]), this), 0, column + 1);
    for (std::size_t row = 0; row <= kPolicyRowCount; ++row) {
        const bool preference = row == kPolicyRowCount;
        const int gridRow = static_cast<int>(row) + 1;
        grid->addWidget(BoldLabel(QString::fromLatin1(preference ? "Preference:" : kRowLabels[row]), this), gridRow, 0);
        for (int column = 0; column < 3; ++column) {
            auto* cell = new QLabel(this);
            cell->setObjectName(
                QStringLiteral("%1%2").arg(QString::fromLatin1(kColumnNames[column]),
                                           preference ? QStringLiteral("Preference") : QString::number(row)));
            grid->addWidget(cell, gridRow, column + 1);
            (preference ? preference_[column] : cells_[row][column]) = cell;
        }
    }
    return grid;
}

void CVtrPoliciesDlg::ShowIdentity(const PolicyIdentity& identity) {
    computer_->setText(Text(identity.computer));
    user_->setText(Text(identity.user));
}

void CVtrPoliciesDlg::ShowValues() {
    const PolicyTable& table = check_.Table();
    for (std::size_t row = 0; row < kPolicyRowCount; ++row) {
        cells_[row][0]->setText(Text(PolicyValueText(table[row].computer)));
        cells_[row][1]->setText(Text(PolicyValueText(table[row].user)));
        cells_[row][2]->setText(Text(PolicyValueText(table[row].result)));
    }
    const bool computerWins = check_.ComputerPreferred() != 0;
    preference_[0]->setText(computerWins ? QStringLiteral("Preferred") : QString());
    preference_[1]->setText(computerWins ? QString() : QStringLiteral("Preferred"));
    preference_[2]->setText(computerWins ? QStringLiteral("Computer") : QStringLiteral("User"));
}

void CVtrPoliciesDlg::Refresh() {
    busy_ = true;
    AnimateProgress(*progress_, kRefreshSteps, kRefreshPauseMs);
    Status code = ERROR_SUCCESS;
    PolicyIdentity identity;
    runner_.Run([&] {
        code = check_.Run();
        if (code == ERROR_SUCCESS)
            identity = DescribePolicyCheck(platform_, check_);
    });
    busy_ = false;
    // A run that failed has no values to show: the last ones stay.
    if (code != ERROR_SUCCESS) {
        ShowMessage(kAppCaption, PolicyCheckFailureText(code), MessageIcon::None);
        return;
    }
    if (!check_.RunMessage().empty())
        ShowMessage(kAppCaption, check_.RunMessage(), MessageIcon::None);
    ShowIdentity(identity);
    ShowValues();
    message_->setText(Text(check_.RunMessage()));
}

void CVtrPoliciesDlg::reject() {
    // Closing the window while the check runs would take the check away
    // from under it.
    if (!busy_)
        QDialog::reject();
}

}  // namespace vn
