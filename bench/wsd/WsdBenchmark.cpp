// One WS-Discovery run on this namespace's networks, as the network scan
// does it: prints how long the Probe's wait and the metadata took and how
// many computers were named. Run by bench/wsd/wsd-bench among its peers:
//   wsd_bench EXPECTED [WAIT_MS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/local/https/CurlHttpsClient.h"
#include "platform/wsd/WsdDiscovery.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: wsd_bench EXPECTED [WAIT_MS]\n");
        return 2;
    }
    const long expected = std::strtol(argv[1], nullptr, 10);
    vn::wsd::WsdOptions options;
    if (argc > 2)
        options.probe.wait = std::chrono::milliseconds(std::strtol(argv[2], nullptr, 10));
    vn::CurlHttpsClient http;
    vn::wsd::WsdDiscovery discovery(http);
    std::vector<vn::wsd::WsdAnswer> answers;
    const auto start = std::chrono::steady_clock::now();
    const vn::Status status = discovery.Discover(options, answers);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    long named = 0;
    for (const vn::wsd::WsdAnswer& answer : answers)
        named += answer.status == vn::ERROR_SUCCESS ? 1 : 0;
    const double wait = std::chrono::duration<double>(options.probe.wait).count();
    std::printf("netwarden discovery: %ld of %ld hosts found and named in %.2f s (wait %.2f s, target %.2f s)%s\n",
                named, expected, seconds, wait, wait + 1.0, status == vn::ERROR_SUCCESS ? "" : " (failed)");
    return named == expected && seconds <= wait + 1.0 ? 0 : 1;
}
