// directory_bench [COUNT [UNIT]]: adds COUNT (default 10,000) enabled computer
// accounts to one new organisational unit of the lab domain with one ldapadd
// run (or, given UNIT such as OU=Bench123, uses that unit of an earlier run:
// Samba adds accounts slowly), then times the network browse scan of the domain's name that files
// them into an inventory tree through the "Active Directory" provider (the
// domain has no browse list), and a bare enumeration of the unit. Probes go
// to a fake network without computers, so what is timed is the directory and
// the tree. Starts the lab domain when none runs; run it under the lab lock.
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "DomainLab.h"
#include "cli/ScanRunner.h"
#include "discovery/NetworkScanWorker.h"
#include "inventory/InventoryModel.h"
#include "platform/directory/CombinedNetworkBrowser.h"
#include "platform/directory/DirectoryEnumeration.h"
#include "platform/smb/SmbBackend.h"
#include "support/FakePlatform.h"

namespace {

using vn::lab::DomainLab;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

class QuietStatus final : public vn::StatusSink {
public:
    void Reset() override {}
    void Show(bool) override {}
    bool IsShown() override { return false; }
    void SetStatusText(const std::string&) override {}
    void SetRange(int) override {}
    void Step() override {}
    void SetPos(int) override {}
};

class BenchPlatform final : public vn::Platform {
public:
    explicit BenchPlatform(vn::NetworkBrowser& browser) : browser_(browser) {}
    vn::Registry& registry() override { return fake_.registry(); }
    vn::NetInfo& netInfo() override { return fake_.netInfo(); }
    vn::NetworkBrowser& browser() override { return browser_; }
    vn::ServiceControl& services() override { return fake_.services(); }
    vn::Accounts& accounts() override { return fake_.accounts(); }
    vn::Resolver& resolver() override { return fake_.resolver(); }
    vn::Sockets& sockets() override { return fake_.sockets(); }
    vn::Processes& processes() override { return fake_.processes(); }
    vn::HttpsClient& https() override { return fake_.https(); }

private:
    vn::NetworkBrowser& browser_;
    vn::test::FakePlatform fake_;
};

std::size_t CountComputers(const vn::InventoryModel& model, const vn::FolderNode* folder) {
    std::size_t count = 0;
    for (const vn::InventoryNode* child : model.ChildrenOf(folder))
        count += child->IsFolder ? CountComputers(model, static_cast<const vn::FolderNode*>(child)) : 1;
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    if (count <= 0) {
        std::fprintf(stderr, "usage: directory_bench [COUNT]\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QCoreApplication application(argc, argv);
    const std::string work = "/tmp/directory-bench-" + std::to_string(getpid());
    std::filesystem::create_directories(work);
    std::string labRoot;
    std::string error;
    if (!DomainLab::Running()) {
        labRoot = work + "/lab";
        std::printf("starting the lab domain...\n");
        if (!DomainLab::Start(labRoot, error)) {
            std::fprintf(stderr, "directory_bench: %s\n", error.c_str());
            return 1;
        }
    }
    DomainLab::WriteClientConfiguration(work, false);
    setenv("HOME", work.c_str(), 1);
    setenv("LDAPTLS_REQCERT", "never", 1);
    setenv("KRB5CCNAME", ("FILE:" + work + "/no-ticket").c_str(), 1);

    const bool reuse = argc > 2;
    const std::string unit = reuse ? argv[2] : "OU=Bench" + std::to_string(getpid());
    auto started = Clock::now();
    bool added = true;
    if (!reuse) {
        const std::string ldif = work + "/computers.ldif";
        std::ofstream(ldif) << DomainLab::ComputersLdif(unit, "B" + std::to_string(getpid() % 10000) + "-", count);
        added = DomainLab::AddEntries(ldif, work + "/ldapadd.log", error);
        std::printf("added %d computer accounts to %s with one ldapadd: %.1f s\n", count, unit.c_str(),
                    Seconds(started));
    }
    int status = 0;
    if (!added) {
        std::fprintf(stderr, "directory_bench: %s\n", error.c_str());
        status = 1;
    } else {
        vn::smb::SmbBackend backend(vn::smb::SmbCredentials::FromPassword(
            DomainLab::Administrator().name, DomainLab::Administrator().password, DomainLab::kDomain));
        vn::directory::DirectoryOptions options;
        options.controllers = {DomainLab::kAddress};
        options.sambaConfigFiles = {work + "/.smb/smb.conf"};
        vn::directory::DirectoryBrowser directory([&backend] { return backend.Credentials(); }, options);

        // The bare enumeration of the unit: pages of 500 into descriptors.
        started = Clock::now();
        vn::NetResource container;
        container.dwDisplayType = vn::RESOURCEDISPLAYTYPE_GENERIC;
        container.provider = vn::directory::kDirectoryProviderName;
        container.comment = unit + "," + DomainLab::kBaseDn;
        std::unique_ptr<vn::ResourceEnumeration> enumeration;
        std::size_t listed = 0;
        if (directory.OpenEnum(vn::RESOURCE_GLOBALNET, vn::RESOURCETYPE_ANY, 0, &container, enumeration) ==
            vn::ERROR_SUCCESS) {
            std::vector<vn::NetResource> batch;
            for (std::uint32_t n = 0xFFFFFFFF; enumeration->Next(&n, batch, 16384) == vn::ERROR_SUCCESS;
                 n = 0xFFFFFFFF) {
                listed += batch.size();
                batch.clear();
            }
        }
        const double enumerateSeconds = Seconds(started);
        std::printf("enumerated %zu computers of the unit: %.2f s, %.3f s per 1,000\n", listed, enumerateSeconds,
                    enumerateSeconds * 1000 / static_cast<double>(std::max<std::size_t>(listed, 1)));

        // The scan of the domain's name into an inventory tree.
        // Nothing answers WS-Discovery here: the directory's figures alone.
        vn::wsd::WsdBrowser wsd([](const vn::wsd::WsdOptions&, std::vector<vn::wsd::WsdAnswer>& answers) {
            answers.clear();
            return vn::ERROR_SUCCESS;
        });
        vn::directory::CombinedNetworkBrowser browser(backend.browser(), directory, wsd);
        BenchPlatform platform(browser);
        vn::InventoryModel model;
        QuietStatus quiet;
        // As netwarden does it: each result handed to the model's thread.
        vn::cli::ModelSinks sinks(model, quiet, [](const vn::ComputerRecord&) {});
        vn::ProductCatalogue catalogue;
        vn::MessageBoxStopQuestion questions;
        vn::NetworkScanWorker worker(platform);
        started = Clock::now();
        worker.Start(std::make_unique<vn::NetworkScanJob>(DomainLab::kDomain, nullptr, sinks.Status(), sinks.Tree(),
                                                          catalogue, questions));
        vn::cli::RunUntilEnded(worker);
        const double scanSeconds = Seconds(started);
        const std::size_t inTree = CountComputers(model, nullptr);
        std::printf("scan network %s filed %zu computers into the tree: %.2f s, %.3f s per 1,000\n", DomainLab::kDomain,
                    inTree, scanSeconds, scanSeconds * 1000 / static_cast<double>(std::max<std::size_t>(inTree, 1)));
        if (listed != static_cast<std::size_t>(count))
            status = 1;
    }
    if (!labRoot.empty())
        DomainLab::Stop(labRoot);
    std::error_code ignored;
    std::filesystem::remove_all(work, ignored);
    return status;
}
