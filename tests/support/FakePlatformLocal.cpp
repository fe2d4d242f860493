#include "support/FakePlatformLocal.h"

namespace vn::test {
namespace {

// A started program that writes nothing and ends with exit code 0.
class SilentChildProcess final : public ChildProcess {
public:
    Status ReadOutput(void*, std::size_t, std::size_t* read) override {
        if (read)
            *read = 0;
        return ERROR_BROKEN_PIPE;
    }
    void CloseInput() override {}
    void CloseOutput() override {}
    std::uint32_t Wait() override { return 0; }
    void Terminate() override {}
};

}  // namespace

void FakePlatformLocal::AddHost(const std::string& name, IPv4 address, bool reverse) {
    std::lock_guard lock(core_.mutex);
    addresses_[UpperName(name)] = address;
    if (reverse)
        names_[address] = name;
}

void FakePlatformLocal::AddReverseName(IPv4 address, const std::string& name) {
    std::lock_guard lock(core_.mutex);
    names_[address] = name;
}

void FakePlatformLocal::SetLocalName(std::optional<std::string> name) {
    std::lock_guard lock(core_.mutex);
    localName_ = std::move(name);
}

void FakePlatformLocal::SetLocalAddresses(std::vector<IPv4> addresses) {
    std::lock_guard lock(core_.mutex);
    localAddresses_ = std::move(addresses);
}

void FakePlatformLocal::SetPortOpen(IPv4 address, std::uint16_t port, bool open) {
    std::lock_guard lock(core_.mutex);
    if (open)
        openPorts_.insert({address, port});
    else
        openPorts_.erase({address, port});
}

void FakePlatformLocal::SetProcessStartStatus(Status status) {
    std::lock_guard lock(core_.mutex);
    processStatus_ = status;
}

void FakePlatformLocal::QueueHttpsAnswer(Status status, HttpsResponse response) {
    std::lock_guard lock(core_.mutex);
    httpsAnswers_.emplace_back(status, std::move(response));
}

std::vector<HttpsRequest> FakePlatformLocal::HttpsRequests() {
    std::lock_guard lock(core_.mutex);
    return httpsRequests_;
}

IPv4 FakePlatformLocal::HostAddress(std::string_view name) {
    core_.Enter("gethostbyname", {}, {std::string(name)});
    std::lock_guard lock(core_.mutex);
    auto it = addresses_.find(UpperName(name));
    return it == addresses_.end() ? 0 : it->second;
}

bool FakePlatformLocal::HostName(IPv4 address, std::string& name) {
    core_.Enter("gethostbyaddr", {}, {FormatIPv4(address)});
    std::lock_guard lock(core_.mutex);
    auto it = names_.find(address);
    if (it == names_.end())
        return false;
    name = it->second;
    return true;
}

bool FakePlatformLocal::LocalComputerName(std::string& name) {
    core_.Enter("GetComputerName", {}, {});
    std::lock_guard lock(core_.mutex);
    if (!localName_)
        return false;
    name = *localName_;
    return true;
}

std::vector<IPv4> FakePlatformLocal::LocalAddresses() {
    core_.Enter("LocalAddresses", {}, {});
    std::lock_guard lock(core_.mutex);
    return localAddresses_;
}

bool FakePlatformLocal::TestTcpPort(IPv4 address, std::uint16_t port, std::chrono::milliseconds timeout) {
    core_.Enter("TestTcpPort", {}, {FormatIPv4(address), std::to_string(port), std::to_string(timeout.count())});
    std::lock_guard lock(core_.mutex);
    return openPorts_.count({address, port}) > 0;
}

void FakePlatformLocal::SetSweepStatus(Status status) {
    std::lock_guard lock(core_.mutex);
    sweepStatus_ = status;
}

Status FakePlatformLocal::SweepTcpPorts(const SweepRequest& request, SweepObserver& observer) {
    std::string ports;
    for (std::uint16_t port : request.Ports)
        ports += (ports.empty() ? "" : ",") + std::to_string(port);
    core_.Enter("SweepTcpPorts", {},
                {FormatIPv4(request.First), FormatIPv4(request.Last), ports, std::to_string(request.Parallel)});
    {
        std::lock_guard lock(core_.mutex);
        if (sweepStatus_ != ERROR_SUCCESS)
            return sweepStatus_;
    }
    for (std::uint64_t address = request.First; address <= request.Last; ++address) {
        if (!observer.Continue(1))
            return ERROR_CANCELLED;
        bool accepted = false;
        {
            std::lock_guard lock(core_.mutex);
            for (std::uint16_t port : request.Ports)
                accepted = accepted || openPorts_.count({static_cast<IPv4>(address), port}) > 0;
        }
        observer.Tested(static_cast<IPv4>(address), accepted);
    }
    return ERROR_SUCCESS;
}

Status FakePlatformLocal::Start(std::string_view program, std::string_view commandLine,
                                std::string_view workingDirectory, std::unique_ptr<ChildProcess>& result) {
    core_.Enter("CreateProcess", {}, {std::string(program), std::string(commandLine), std::string(workingDirectory)});
    std::lock_guard lock(core_.mutex);
    if (processStatus_ == ERROR_SUCCESS)
        result = std::make_unique<SilentChildProcess>();
    return processStatus_;
}

Status FakePlatformLocal::Send(const HttpsRequest& request, HttpsResponse& response) {
    core_.Enter("HttpsSend", request.host, {request.verb, request.path});
    std::lock_guard lock(core_.mutex);
    httpsRequests_.push_back(request);
    if (httpsAnswers_.empty())
        return ERROR_INTERNET_CANNOT_CONNECT;
    auto [status, answer] = std::move(httpsAnswers_.front());
    httpsAnswers_.pop_front();
    if (status == ERROR_SUCCESS)
        response = std::move(answer);
    return status;
}

}  // namespace vn::test
