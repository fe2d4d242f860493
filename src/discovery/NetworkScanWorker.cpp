#include "discovery/NetworkScanWorker.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <thread>

#include "detect/AddressResolution.h"
#include "detect/ComputerProbe.h"
#include "discovery/NetworkResources.h"
#include "inventory/NameRules.h"
#include "platform/RemoteConnectionScope.h"
#include "platform/SystemErrorText.h"

namespace vn {
namespace {

constexpr const char* kStopQuestion = "Are you sure you want to stop the network scan?";
constexpr const char* kCancelledText = "Network scan cancelled.";
constexpr std::chrono::milliseconds kFinalTextShown{200};

std::string TrimmedUpperCase(const std::string& text) {
    auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    std::string result = first < last ? std::string(first, last) : std::string();
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

std::string WithoutBackslashes(const std::string& name) {
    std::string result = name;
    std::erase(result, '\\');
    return result;
}

// One run of the scan: the depth-first walk and what it leaves behind.
class NetworkBrowse {
public:
    NetworkBrowse(Platform& platform, NetworkScanJob& job, Event& stopEvent)
        : platform_(platform),
          job_(job),
          stopEvent_(stopEvent) {}

    // Files the scan's top folder under parent once the typed container has
    // opened, so that a scan failing at its start leaves no empty folder,
    // then browses it. True and false as for BrowseContainer.
    bool BrowseTop(NetResource* container, const std::string& topName, FolderNode* parent);
    // True when the container was browsed to its end (also after an
    // enumeration error, which is reported); false when the scan must end.
    // A provider of the whole network that cannot be opened (no browse list
    // where SMB1 is off) is reported and passed over, so that the others are
    // still walked.
    bool BrowseContainer(NetResource* container, float start, float span, FolderNode* parent,
                         bool passOverUnopened = false);

    bool Cancelled() const { return cancelled_; }
    Status OpenFailure() const { return openFailure_; }

private:
    Status Open(NetResource* container, std::unique_ptr<ResourceEnumeration>& enumeration);
    // Tests the stop event without waiting; a request is confirmed by the user.
    bool StopConfirmed(const char* caption);
    InventoryNode* AddFound(const NetResource& resource, const std::string& name, FolderNode* parent);
    // wholeNetwork: the enumeration lists the providers of the whole network.
    bool Walk(ResourceEnumeration& enumeration, float start, float span, FolderNode* parent, bool wholeNetwork);

    Platform& platform_;
    NetworkScanJob& job_;
    Event& stopEvent_;
    bool cancelled_ = false;
    Status openFailure_ = ERROR_SUCCESS;
};

Status NetworkBrowse::Open(NetResource* container, std::unique_ptr<ResourceEnumeration>& enumeration) {
    NetworkBrowser& browser = platform_.browser();
    Status status = browser.OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, container, enumeration);
    // A list too long to read is a domain's own answer, not a sign that
    // the name means a provider.
    if (status != ERROR_SUCCESS && status != ERROR_BROWSE_LIST_TOO_LONG && container != nullptr &&
        container->dwDisplayType == RESOURCEDISPLAYTYPE_DOMAIN) {
        MakeProvider(*container);
        status = browser.OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, container, enumeration);
    }
    return status;
}

bool NetworkBrowse::StopConfirmed(const char* caption) {
    if (!stopEvent_.Wait(std::chrono::milliseconds(0)) || !job_.Questions.ConfirmStop(caption, kStopQuestion))
        return false;
    cancelled_ = true;
    job_.Status.SetText(kCancelledText);
    return true;
}

InventoryNode* NetworkBrowse::AddFound(const NetResource& resource, const std::string& name, FolderNode* parent) {
    if (resource.dwDisplayType != RESOURCEDISPLAYTYPE_SERVER) {
        job_.Status.SetText("%s found: %s",
                            resource.dwDisplayType == RESOURCEDISPLAYTYPE_DOMAIN ? "Domain" : "Network resource", name);
        return job_.Tree.AddNode(std::make_unique<FolderNode>(name), parent);
    }
    auto record = std::make_unique<ComputerRecord>(name);
    job_.Status.SetText("Computer found: %s", name);
    const RemoteConnectionScope pipes;  // closed after the record is filed
    // A computer that answered WS-Discovery is examined at the address it
    // answered from when its name does not resolve here.
    ExamineComputer(platform_, ExaminationTarget(platform_, name, resource.address), job_.Catalogue, *record,
                    job_.Status);
    record->Name = name;
    return job_.Tree.AddNode(std::move(record), parent);
}

bool NetworkBrowse::BrowseTop(NetResource* container, const std::string& topName, FolderNode* parent) {
    std::unique_ptr<ResourceEnumeration> enumeration;  // closed on every return
    if (const Status status = Open(container, enumeration); status != ERROR_SUCCESS) {
        openFailure_ = status;
        return false;
    }
    InventoryNode* top = job_.Tree.AddNode(std::make_unique<FolderNode>(topName), parent);
    return Walk(*enumeration, 0.0f, 100.0f, dynamic_cast<FolderNode*>(top), container == nullptr);
}

bool NetworkBrowse::BrowseContainer(NetResource* container, float start, float span, FolderNode* parent,
                                    bool passOverUnopened) {
    std::unique_ptr<ResourceEnumeration> enumeration;  // closed on every return
    if (const Status status = Open(container, enumeration); status != ERROR_SUCCESS) {
        if (passOverUnopened) {
            job_.Status.SetText("Error occurred. Error code: %d", static_cast<int>(status));
            return true;
        }
        openFailure_ = status;
        return false;
    }
    return Walk(*enumeration, start, span, parent, false);
}

bool NetworkBrowse::Walk(ResourceEnumeration& enumeration, float start, float span, FolderNode* parent,
                         bool wholeNetwork) {
    if (StopConfirmed("Network scanner"))
        return false;

    std::vector<NetResource> buffer;  // this level's, reused by every batch
    Status status = ERROR_SUCCESS;
    for (;;) {
        buffer.clear();
        std::uint32_t count = 0xFFFFFFFF;
        status = enumeration.Next(&count, buffer, NetworkScanWorker::kEnumBufferBytes);
        if (status != ERROR_SUCCESS)
            break;
        const std::size_t returned = std::min<std::size_t>(count, buffer.size());
        const float step = returned == 0 ? 0.0f : span / static_cast<float>(returned);
        for (std::size_t i = 0; i < returned; ++i) {
            const float position = start + step * static_cast<float>(i);
            if (StopConfirmed("Network Scanner"))
                return false;
            NetResource& resource = buffer[i];
            const std::string name = WithoutBackslashes(resource.remoteName);
            const bool server = resource.dwDisplayType == RESOURCEDISPLAYTYPE_SERVER;
            // A name no node can have is left out, with what a container holds.
            if (const std::string problem = FoundNameProblem(server ? NameKind::Computer : NameKind::Folder, name);
                !problem.empty()) {
                job_.Status.SetStatusText(problem);
                job_.Status.SetPos(static_cast<int>(position));
                continue;
            }
            InventoryNode* inTree = AddFound(resource, name, parent);
            if ((resource.dwUsage & RESOURCEUSAGE_CONTAINER) && !server) {
                job_.Status.SetText("Scanning resource: %s", name);
                const bool provider = wholeNetwork && resource.dwDisplayType == RESOURCEDISPLAYTYPE_NETWORK;
                if (!BrowseContainer(&resource, position, step, dynamic_cast<FolderNode*>(inTree), provider))
                    return false;
            }
            job_.Status.SetPos(static_cast<int>(position));
        }
    }
    if (status != ERROR_NO_MORE_ITEMS)
        job_.Status.SetText("Error occurred. Error code: %d", static_cast<int>(status));
    return true;
}

}  // namespace

void NetworkScanWorker::OnStarting() {
    // A stop request left from before this scan is forgotten. Done under the
    // start lock rather than in Run, so that a cancel pressed right after the
    // start is not forgotten as well.
    GetStopEvent().Reset();
    outcome_.store(Outcome::None);
}

void NetworkScanWorker::Run() {
    NetworkScanJob& scan = *CurrentJob();
    // An earlier scan's last text never stands for this one.
    scan.Status.Reset();
    scan.Status.Show(true);
    const std::string name = TrimmedUpperCase(scan.Container);
    std::optional<NetResource> container;
    if (name != "ENTIRE NETWORK")
        container = TypedDomain(name);

    scan.Status.SetRange(100);
    NetworkBrowse browse(platform_, scan, GetStopEvent());
    if (browse.BrowseTop(container ? &*container : nullptr, scan.Container, scan.Parent)) {
        scan.Status.SetText("Network scan finished successful.");
        outcome_.store(Outcome::Finished);
    } else if (browse.Cancelled()) {
        outcome_.store(Outcome::Cancelled);
    } else {
        // The failure's own text follows, so that the user learns why.
        scan.Status.SetText("Error occured: %s", SystemErrorText(browse.OpenFailure()));
        outcome_.store(Outcome::Failed);
        // The reason stays readable until the next scan.
        scan.Status.ShowIdle();
        CurrentJob().reset();
        return;
    }
    std::this_thread::sleep_for(kFinalTextShown);
    scan.Status.Show(false);
    CurrentJob().reset();
}

}  // namespace vn
