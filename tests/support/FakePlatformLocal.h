#pragma once

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Https.h"
#include "platform/Network.h"
#include "platform/Processes.h"
#include "support/FakePlatformCore.h"

namespace vn::test {

// The services of this computer: name resolution, the TCP port test,
// processes and HTTPS. Resolver entries and open ports are set up by the test;
// a process start gives a configured status (on success, a program
// that writes nothing and exits with 0); HTTPS answers come from a queue.
class FakePlatformLocal final : public Resolver, public Sockets, public Processes, public HttpsClient {
public:
    explicit FakePlatformLocal(FakePlatformCore& core) : core_(core) {}

    // name -> address (case-insensitive), and address -> name when reverse.
    void AddHost(const std::string& name, IPv4 address, bool reverse = true);
    void AddReverseName(IPv4 address, const std::string& name);
    // nullopt: GetComputerName fails.
    void SetLocalName(std::optional<std::string> name);
    void SetLocalAddresses(std::vector<IPv4> addresses);
    void SetPortOpen(IPv4 address, std::uint16_t port, bool open = true);
    void SetProcessStartStatus(Status status);
    // A sweep that fails at once with the status (ERROR_SUCCESS: it sweeps).
    void SetSweepStatus(Status status);
    void QueueHttpsAnswer(Status status, HttpsResponse response = {});
    std::vector<HttpsRequest> HttpsRequests();

    IPv4 HostAddress(std::string_view name) override;
    bool HostName(IPv4 address, std::string& name) override;
    bool LocalComputerName(std::string& name) override;
    std::vector<IPv4> LocalAddresses() override;

    bool TestTcpPort(IPv4 address, std::uint16_t port, std::chrono::milliseconds timeout) override;
    // Tests the addresses in order, one at a time, against the open ports.
    Status SweepTcpPorts(const SweepRequest& request, SweepObserver& observer) override;

    Status Start(std::string_view program, std::string_view commandLine, std::string_view workingDirectory,
                 std::unique_ptr<ChildProcess>& result) override;

    Status Send(const HttpsRequest& request, HttpsResponse& response) override;

private:
    FakePlatformCore& core_;
    std::map<std::string, IPv4> addresses_;  // by upper-cased name
    std::map<IPv4, std::string> names_;
    std::optional<std::string> localName_ = std::string("THISPC");
    std::vector<IPv4> localAddresses_{0x7F000001};
    std::set<std::pair<IPv4, std::uint16_t>> openPorts_;
    Status processStatus_ = ERROR_FILE_NOT_FOUND;
    Status sweepStatus_ = ERROR_SUCCESS;
    std::deque<std::pair<Status, HttpsResponse>> httpsAnswers_;
    std::vector<HttpsRequest> httpsRequests_;
};

}  // namespace vn::test
