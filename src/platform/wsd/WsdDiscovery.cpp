#include "platform/wsd/WsdDiscovery.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>

#include "platform/wsd/FamilyFold.h"
#include "platform/wsd/MetadataTarget.h"

namespace vn::wsd {
namespace {

constexpr Status ERROR_INVALID_DATA = 13;
constexpr std::uint32_t kHttpOk = 200;

// The order the Gets go in: by each endpoint's rank among those of its address.
std::vector<std::size_t> FairOrder(const std::vector<AnsweredEndpoint>& endpoints) {
    std::map<PeerAddress, std::size_t> seen;
    std::vector<std::pair<std::size_t, std::size_t>> ranked;
    for (std::size_t i = 0; i < endpoints.size(); ++i)
        ranked.emplace_back(seen[endpoints[i].source]++, i);
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::size_t> order;
    order.reserve(ranked.size());
    for (const auto& entry : ranked)
        order.push_back(entry.second);
    return order;
}

}  // namespace

Status WsdDiscovery::Discover(const WsdOptions& options, std::vector<WsdAnswer>& answers) {
    answers.clear();
    std::vector<AnsweredEndpoint> endpoints;
    if (Status status = ProbeNetwork(options.probe, endpoints); status != ERROR_SUCCESS)
        return status;
    ReadMetadata(options, endpoints, answers);
    return ERROR_SUCCESS;
}

void WsdDiscovery::ReadMetadata(const WsdOptions& options, const std::vector<AnsweredEndpoint>& endpoints,
                                std::vector<WsdAnswer>& answers) {
    answers.assign(endpoints.size(), WsdAnswer{});
    const std::vector<std::size_t> order = FairOrder(endpoints);
    const auto allDone = std::chrono::steady_clock::now() + 2 * options.getLimit;
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t at = next++; at < order.size(); at = next++) {
            const std::size_t i = order[at];
            WsdAnswer& answer = answers[i];
            answer.address = ExaminedAddress(endpoints[i]);
            answer.source = endpoints[i].source;
            answer.endpoint = endpoints[i].endpoint;
            const auto deadline = std::min(std::chrono::steady_clock::now() + options.getLimit, allDone);
            answer.status = ReadOne(endpoints[i], deadline, answer.computer);
        }
    };
    const std::size_t threads = std::min(std::max<std::size_t>(options.parallelGets, 1), endpoints.size());
    std::vector<std::thread> workers;
    workers.reserve(threads);
    for (std::size_t t = 0; t < threads; ++t)
        workers.emplace_back(work);
    for (std::thread& worker : workers)
        worker.join();
}

Status WsdDiscovery::ReadOne(const AnsweredEndpoint& endpoint, std::chrono::steady_clock::time_point deadline,
                             ComputerIdentity& computer) {
    if (std::chrono::steady_clock::now() >= deadline)
        return ERROR_INTERNET_TIMEOUT;
    MetadataTarget target;
    const auto usable = std::find_if(endpoint.xaddrs.begin(), endpoint.xaddrs.end(), [&](const std::string& url) {
        return MetadataTargetAt(url, endpoint.source, target);
    });
    if (usable == endpoint.xaddrs.end())
        return ERROR_BAD_NETPATH;
    HttpsRequest request;
    request.plainHttp = true;
    request.host = FormatPeer(endpoint.source);
    request.port = target.port;
    request.verb = "POST";
    request.path = target.path;
    request.headers = "Content-Type: application/soap+xml\r\n";
    request.body = GetMessage(NewMessageId(), endpoint.endpoint);
    request.maxBodyBytes = kMaxMetadataBytes;
    request.deadline = deadline;
    HttpsResponse response;
    if (Status status = http_.Send(request, response); status != ERROR_SUCCESS)
        return status;
    if (response.statusCode != kHttpOk)
        return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    return ParseMetadata(response.body, computer) ? ERROR_SUCCESS : ERROR_INVALID_DATA;
}

}  // namespace vn::wsd
