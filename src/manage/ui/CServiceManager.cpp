#include "manage/ui/CServiceManager.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>

#include "inventory/InventoryNode.h"
#include "manage/ServiceProducts.h"
#include "manage/ui/ProgressAnimation.h"
#include "pictures/PictureIds.h"
#include "pictures/ResourceIcon.h"
#include "ui/HeaderBand.h"

namespace vn {
namespace {

// The dialog's layout, in pixels of its client area.
constexpr int kWidth = 560;
constexpr int kBaseHeight = 240;
constexpr int kRowHeight = 25;
constexpr int kFirstRowY = 155;
constexpr int kBandHeight = 115;
constexpr int kHeadingY = 130;
constexpr int kIconPosition = 10;
constexpr int kIconSize = 32;
constexpr int kProductIconX = 30;
constexpr int kProductIconSize = 16;
constexpr int kAnimationSteps = 20;
constexpr int kAnimationPauseMs = 50;

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QLabel* PlacedLabel(const QString& text, const QFont& font, int x, int y, int width, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    label->setGeometry(x, y, width, QFontMetrics(font).height() + 2);
    return label;
}

int RowY(std::size_t row) { return kFirstRowY + kRowHeight * static_cast<int>(row); }

}  // namespace

CServiceManager::CServiceManager(Platform& platform, QWidget* parent)
    : QDialog(parent),
      platform_(platform),
      runner_(this) {
    setWindowTitle(QStringLiteral("Disable/Enable Remote Access Services "));
    setWindowIcon(ResourceIcon(picture::kMainIcon));
}

CServiceManager::~CServiceManager() = default;

void CServiceManager::RunRemote(const std::function<void()>& work) {
    busy_ = true;
    runner_.Run(work);
    busy_ = false;
}

void CServiceManager::SetComputer(const ComputerRecord& computer) {
    services_ = std::make_unique<RemoteServices>(platform_, computer.Name, runner_.Messages());
    RunRemote([this] { services_->OpenManager(); });

    std::vector<const ProductDef*> products = ServiceProducts(computer);
    if (products.size() > kMaxServiceRows)
        products.resize(kMaxServiceRows);
    setFixedSize(kWidth, kBaseHeight + kRowHeight * static_cast<int>(products.size()));
    CreateBand(Text(computer.Name));
    CreateBottom();
    for (const ProductDef* product : products)
        AddRow(*product);

    std::vector<RowState> states(rows_.size());
    RunRemote([&] {
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            states[i].start = services_->ReadStartupType(*rows_[i].product);
            states[i].state = services_->QueryServiceState(rows_[i].product->ServiceName);
        }
    });
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        ShowStartupType(rows_[i], states[i].start);
        ShowState(rows_[i], states[i].state);
        // A disabled service that is stopped cannot be started.
        if (states[i].start == kStartDisabled && states[i].state == ServiceState::Stopped)
            rows_[i].button->setEnabled(false);
    }
}

void CServiceManager::CreateBand(const QString& computerName) {
    QFont bold = font();
    bold.setWeight(QFont::Bold);
    QFont title = bold;
    title.setPixelSize(QFontInfo(bold).pixelSize() + 6);

    auto* icon = new QLabel(this);
    icon->setPixmap(ResourceIcon(picture::kMainIcon).pixmap(kIconSize, kIconSize));
    icon->setGeometry(kIconPosition, kIconPosition, kIconSize, kIconSize);
    PlacedLabel(computerName, title, 50, 6, kWidth - 60, this)->setObjectName(QStringLiteral("computer"));
    const int line = QFontMetrics(font()).height();
    int y = 34;
    PlacedLabel(QStringLiteral("Select the Startup Type for each remote access service listed."), font(), 50, y,
                kWidth - 60, this);
    const char* const explanations[][2] = {
        {"Automatic", "- Service automatically runs after boot-up."},
        {"Manual", "- Service runs only when it is started manually."},
        {"Disabled", "- Service cannot be started unless startup type is modified."},
    };
    for (const auto& [type, explanation] : explanations) {
        y += line;
        PlacedLabel(QString::fromLatin1(type), bold, 60, y, 80, this);
        PlacedLabel(QString::fromLatin1(explanation), font(), 140, y, kWidth - 150, this);
    }
    PlacedLabel(QStringLiteral("Stop / Start the service for a specific remote access product."), font(), 50, y + line,
                kWidth - 60, this);

    PlacedLabel(QStringLiteral("Name:"), bold, 50, kHeadingY, 150, this);
    PlacedLabel(QStringLiteral("Startup type:"), bold, 230, kHeadingY, 100, this);
    PlacedLabel(QStringLiteral("Status:"), bold, 340, kHeadingY, 80, this);
}

void CServiceManager::CreateBottom() {
    const int bottom = height();
    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(0, bottom - 46, kWidth, 2);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, kAnimationSteps);
    progress_->setTextVisible(false);
    progress_->setGeometry(30, bottom - 30, kWidth - 240 - 30, 17);
    progress_->hide();

    const auto button = [&](const char* text, const char* name, int fromRight) {
        auto* pushButton = new QPushButton(QString::fromLatin1(text), this);
        pushButton->setObjectName(QString::fromLatin1(name));
        pushButton->setGeometry(kWidth - fromRight, bottom - 33, 60, 23);
        return pushButton;
    };
    QPushButton* ok = button("OK", "ok", 210);
    QPushButton* cancel = button("Cancel", "cancel", 145);
    apply_ = button("Apply", "apply", 80);
    apply_->setEnabled(false);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CServiceManager::accept);
    connect(cancel, &QPushButton::clicked, this, &CServiceManager::reject);
    connect(apply_, &QPushButton::clicked, this, &CServiceManager::Apply);
}

void CServiceManager::AddRow(const ProductDef& product) {
    const std::size_t index = rows_.size();
    const int y = RowY(index);
    const QString suffix = QString::number(index);
    Row row{&product, new QLabel(Text(product.DisplayName), this), new QComboBox(this),
            new QLabel(QStringLiteral("Stopped"), this), new QPushButton(QStringLiteral("Start"), this)};
    row.name->setObjectName(QStringLiteral("name") + suffix);
    row.name->setGeometry(50, y, 150, 21);
    for (const StartupTypeName& type : kStartupTypes)
        row.startup->addItem(Text(type.text));
    row.startup->setCurrentIndex(-1);
    row.startup->setObjectName(QStringLiteral("startup") + suffix);
    row.startup->setGeometry(230, y, 90, 21);
    row.status->setObjectName(QStringLiteral("status") + suffix);
    row.status->setGeometry(340, y, 60, 21);
    row.button->setObjectName(QStringLiteral("button") + suffix);
    row.button->setGeometry(400, y, kWidth - 20 - 400, 21);
    connect(row.startup, &QComboBox::currentIndexChanged, this, [this] {
        if (loading_)
            return;
        changed_ = true;
        apply_->setEnabled(true);
    });
    connect(row.button, &QPushButton::clicked, this, [this, index] { StartOrStop(index); });
    rows_.push_back(row);
}

void CServiceManager::ShowStartupType(Row& row, std::uint32_t start) {
    loading_ = true;
    const auto index = StartupTypeIndex(start);
    row.startup->setCurrentIndex(index ? static_cast<int>(*index) : -1);
    loading_ = false;
}

void CServiceManager::ShowState(Row& row, ServiceState state) {
    const bool known = state != ServiceState::Unknown;
    row.status->setText(state == ServiceState::Started   ? QStringLiteral("Started")
                        : state == ServiceState::Stopped ? QStringLiteral("Stopped")
                                                         : QStringLiteral("Unknown"));
    row.button->setText(state == ServiceState::Started   ? QStringLiteral("Stop")
                        : state == ServiceState::Stopped ? QStringLiteral("Start")
                                                         : QStringLiteral("Change"));
    row.button->setEnabled(known);
    row.startup->setEnabled(known);
}

void CServiceManager::StartOrStop(std::size_t index) {
    Row& row = rows_.at(index);
    const std::string& service = row.product->ServiceName;
    ServiceState before = ServiceState::Unknown;
    bool done = false;
    std::uint32_t start = 0;
    RunRemote([&] {
        before = services_->QueryServiceState(service);
        if (before == ServiceState::Started && (done = services_->StopRemoteService(service)))
            start = services_->ReadStartupType(*row.product);
        else if (before == ServiceState::Stopped)
            done = services_->StartRemoteService(service);
    });
    if (!done)
        return;
    AnimateProgress(*progress_, kAnimationSteps, kAnimationPauseMs);
    // The request was taken; the service is not asked again how it went.
    const bool stopped = before == ServiceState::Started;
    ShowState(row, stopped ? ServiceState::Stopped : ServiceState::Started);
    if (stopped && start == kStartDisabled)
        row.button->setEnabled(false);
}

void CServiceManager::Apply() {
    std::vector<int> selected(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i)
        selected[i] = rows_[i].startup->currentIndex();
    std::vector<RowState> states(rows_.size());
    RunRemote([&] {
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            if (selected[i] < 0)
                continue;  // a type that could not be read is left alone
            services_->WriteStartupType(*rows_[i].product, kStartupTypes[static_cast<std::size_t>(selected[i])].start);
            states[i].start = services_->ReadStartupType(*rows_[i].product);
            if (states[i].start == kStartDisabled)
                states[i].state = services_->QueryServiceState(rows_[i].product->ServiceName);
        }
    });
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (selected[i] < 0)
            continue;
        // The list shows what the computer holds now, also when the write
        // did not land.
        ShowStartupType(rows_[i], states[i].start);
        if (states[i].start == kStartAutomatic || states[i].start == kStartManual)
            rows_[i].button->setEnabled(true);
        else if (states[i].start == kStartDisabled && states[i].state == ServiceState::Stopped)
            rows_[i].button->setEnabled(false);
    }
    apply_->setEnabled(false);
}

void CServiceManager::accept() {
    if (busy_)
        return;
    if (changed_)
        Apply();
    QDialog::accept();
}

void CServiceManager::reject() {
    if (!busy_)
        QDialog::reject();
}

void CServiceManager::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    HeaderBand::Paint(painter, QRect(0, 0, width(), kBandHeight), HeaderBand::BothEdges, palette());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const QIcon& icon = rows_[i].product->Icon;
        if (!icon.isNull())
            icon.paint(&painter, QRect(kProductIconX, RowY(i), kProductIconSize, kProductIconSize));
    }
}

}  // namespace vn
