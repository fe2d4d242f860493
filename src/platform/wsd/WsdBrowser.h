#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Https.h"
#include "platform/NetworkBrowser.h"
#include "platform/wsd/WsdDiscovery.h"

namespace vn::wsd {

// WNetOpenEnum over what WS-Discovery finds, the "Web Services Discovery"
// provider: the provider holds the workgroups and domains the answering
// computers name, each of them its computers, each with the address it
// answered from. One discovery serves the enumerations of kReuse after it, so
// that a walk down the provider's containers probes once.
class WsdBrowser : public NetworkBrowser {
public:
    static constexpr const char* kProviderName = "Web Services Discovery";
    static constexpr std::chrono::seconds kReuse{30};

    using DiscoverFunction = std::function<Status(const WsdOptions&, std::vector<WsdAnswer>&)>;
    using AnswerLog = std::function<void(const WsdAnswer&)>;

    // Discovery on this computer's networks, metadata through http.
    explicit WsdBrowser(HttpsClient& http);
    // Discovery as the function does it.
    explicit WsdBrowser(DiscoverFunction discover);

    Status OpenEnum(std::uint32_t scope, std::uint32_t type, std::uint32_t usage, const NetResource* container,
                    std::unique_ptr<ResourceEnumeration>& result) override;

    // The computers of one workgroup or domain (found by name, in any case).
    // ERROR_BAD_NETPATH when no answering computer names it.
    [[nodiscard]] Status Members(const std::string& group, std::vector<NetResource>& servers);

    // How long the Probe's answers are collected; the next discovery uses it.
    void SetWait(std::chrono::milliseconds wait);
    // Called with each answer of every discovery from here on.
    void SetAnswerLog(AnswerLog log);

    static NetResource ProviderResource();

private:
    [[nodiscard]] Status Answers(std::vector<WsdAnswer>& answers);

    DiscoverFunction discover_;
    std::mutex mutex_;
    WsdOptions options_;
    AnswerLog log_;
    std::optional<std::chrono::steady_clock::time_point> discoveredAt_;
    Status lastStatus_ = ERROR_SUCCESS;
    std::vector<WsdAnswer> last_;
};

}  // namespace vn::wsd
