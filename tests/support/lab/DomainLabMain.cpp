// domain_lab start|stop DIR: the test suite's fixture around DomainLab.
#include <cstdio>
#include <string>

#include "DomainLab.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: domain_lab start|stop DIR\n");
        return 2;
    }
    const std::string command = argv[1];
    const std::string root = argv[2];
    if (command == "stop") {
        vn::lab::DomainLab::Stop(root);
        return 0;
    }
    if (command != "start")
        return 2;
    if (!vn::lab::DomainLab::Installed()) {
        std::printf("the Samba domain controller is not installed: the domain tests will be skipped\n");
        return 0;
    }
    std::string error;
    if (!vn::lab::DomainLab::Start(root, error)) {
        std::fprintf(stderr, "domain lab: %s\n", error.c_str());
        return 1;
    }
    std::printf("domain lab running under %s\n", root.c_str());
    return 0;
}
