#include "manage/ui/CGroupPolicy.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "manage/ui/PolicyTemplateFiles.h"
#include "pictures/PictureIds.h"
#include "pictures/ResourceIcon.h"
#include "ui/HeaderBand.h"
#include "ui/HyperlinkLabel.h"
#include "ui/ScreenFit.h"

namespace vn {
namespace {

constexpr int kBandHeight = 40;
constexpr int kMinimumWidth = 560;
constexpr int kTextWidth = 640;
constexpr int kOpened = 42;  // any value above 32 means the file was handed on
constexpr int kFileNotFound = 2;
constexpr int kNoAssociation = 31;

const char* const kInstructions[] = {
    "In a Windows 2000 or Windows 2003 Active Directory environment, administrators can create group policies that "
    "define which computers Vantor can be used on, which users are allowed to use Vantor, and what features of the "
    "product are available to users.",
    "To implement group policy control over Vantor, the reader will need to install the vantor.adm administrative "
    "template.  ",
    "Installing the Group Policy Template:",
    "1. Click the Save ADM button to save the Vantor.adm template to your Windows\\inf directory. ",
    "2. Click Start, point to Programs, point to Administrative Tools, and then click Active Directory Users and "
    "Computers.",
    "3. Right-click on the domain or organizational unit you wish to apply the policy to and then click Properties.",
    "4. Click the Group Policy tab, click New, type Vantor Policy in the New Group Policy Object box and then press "
    "Enter.",
    "5. Click Edit, right-click Administrative Templates under User Configuration, and then click Add/Remove "
    "Templates.",
    "6. Click Add, select vantor.adm and then click Open.",
    "7. After Vantor appears in the Current Policy Templates list, click Close. ",
    "8. Close the Group Policy window.",
    "At this point you have installed the policy template. From now on any time you right-click the domain or "
    "organizational unit and select Properties, then click the Group Policy tab, you should see the Vantor Policy "
    "listed.",
    "Selecting the Vantor Policy and clicking Edit will bring up the Group Policy window. Here you can expand "
    "Computer Configuration then Administrative Templates to access Vantor policies that apply to computers. Expand "
    "User Configuration, then Administrative Templates to configure Vantor policies that apply to user accounts.",
};

QLabel* Paragraph(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QFont Bold(QFont font) {
    font.setWeight(QFont::Bold);
    return font;
}

}  // namespace

GroupPolicyDesktop GroupPolicyDesktop::System() {
    GroupPolicyDesktop desktop;
    desktop.chooseFolder = [](QWidget* parent, const std::string& start) {
        return QFileDialog::getExistingDirectory(parent, QStringLiteral("Save ADM"), QString::fromStdString(start))
            .toStdString();
    };
    desktop.openDocument = [](const std::string& path) {
        const QString file = QString::fromStdString(path);
        if (!QFileInfo::exists(file))
            return kFileNotFound;
        return QDesktopServices::openUrl(QUrl::fromLocalFile(file)) ? kOpened : kNoAssociation;
    };
    return desktop;
}

CGroupPolicy::CGroupPolicy(const QString& moreInformationUrl, GroupPolicyDesktop desktop, QWidget* parent,
                           std::string policyDirectory)
    : QDialog(parent),
      desktop_(std::move(desktop)),
      policyDirectory_(policyDirectory.empty() ? PolicyFilesDirectory() : std::move(policyDirectory)),
      link_(new HyperlinkLabel(QString(), this)) {
    setWindowTitle(QStringLiteral("Vantor Group Policy"));
    setWindowIcon(ResourceIcon(picture::kMainIcon));

    auto* heading = new QLabel(QStringLiteral("How To Setup Vantor Group Policies Using Windows"), this);
    heading->setFont(Bold(font()));
    heading->setFixedHeight(kBandHeight);
    heading->setContentsMargins(12, 0, 12, 0);

    // The instructions scroll where the screen is too low for them (a
    // larger scale); the buttons stay below them in view.
    auto* page = new QWidget;
    auto* texts = new QVBoxLayout(page);
    texts->setContentsMargins(12, 10, 12, 6);
    for (const char* text : kInstructions)
        texts->addWidget(Paragraph(QString::fromUtf8(text), page));
    QLabel* beforeLink =
        Paragraph(QStringLiteral("For more information about Vantor Security and Group Policies, please visit"), page);
    beforeLink->setFont(Bold(font()));
    texts->addWidget(beforeLink);
    link_->setParent(page);
    link_->setObjectName(QStringLiteral("moreInformationLink"));
    link_->SetUrl(QUrl(moreInformationUrl));
    texts->addWidget(link_);
    texts->addStretch(1);
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("instructions"));
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setWidget(page);

    auto* save = new QPushButton(QStringLiteral("Save ADM..."), this);
    save->setObjectName(QStringLiteral("saveAdm"));
    auto* print = new QPushButton(QStringLiteral("Print..."), this);
    print->setObjectName(QStringLiteral("print"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(save, &QPushButton::clicked, this, &CGroupPolicy::SaveAdm);
    connect(print, &QPushButton::clicked, this, &CGroupPolicy::Print);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 6, 12, 12);
    buttons->addWidget(save);
    buttons->addWidget(print);
    buttons->addStretch(1);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(heading);
    layout->addWidget(scroller, 1);
    layout->addLayout(buttons);
    setMinimumWidth(
        std::min(kMinimumWidth, AvailableAreaAt(parent != nullptr ? parent->geometry().center() : QPoint()).width()));
    // As high as the instructions need at the width they read best at, as
    // far as the screen allows.
    const int width = std::max(minimumWidth(), kTextWidth);
    const int textHeight = page->heightForWidth(width - scroller->verticalScrollBar()->sizeHint().width());
    FitWindowToScreen(*this, QSize(width, kBandHeight + textHeight + buttons->sizeHint().height() + 2));
}

void CGroupPolicy::SaveAdm() {
    // The documents folder when this user has one; a folder chooser given a
    // missing folder only says "Directory not found".
    QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = QDir::homePath();
    const std::string destination = desktop_.chooseFolder(this, start.toStdString());
    if (!destination.empty())
        SavePolicyTemplates(policyDirectory_, destination, CurrentMessageBoxService());
}

void CGroupPolicy::Print() {
    const std::string guide = policyDirectory_ + std::string(kPolicyGuideName);
    const int value = desktop_.openDocument(guide);
    if (value > 32)
        return;
    std::string text = LaunchFailureText(value, kPolicyGuideName);
    // Without a viewer the guide can still be opened by hand, or printed.
    if (value == kNoAssociation)
        text += "\n\nThe policy guide is " + guide + ".";
    ShowMessage(kAppCaption, text, MessageIcon::None);
}

void CGroupPolicy::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    HeaderBand::Paint(painter, QRect(0, 0, width(), kBandHeight), HeaderBand::BottomEdge, palette());
}

}  // namespace vn
