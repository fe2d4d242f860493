// samba_lab start|stop DIR: the test suite's fixture around SambaLab.
#include <cstdio>
#include <string>

#include "SambaLab.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: samba_lab start|stop DIR\n");
        return 2;
    }
    const std::string command = argv[1];
    const std::string root = argv[2];
    if (command == "stop") {
        vn::lab::SambaLab::Stop(root);
        return 0;
    }
    if (command != "start")
        return 2;
    if (!vn::lab::SambaLab::Installed()) {
        std::printf("Samba (smbd) is not installed: the end-to-end tests will be skipped\n");
        return 0;
    }
    std::string error;
    if (!vn::lab::SambaLab::Start(root, error)) {
        std::fprintf(stderr, "samba lab: %s\n", error.c_str());
        return 1;
    }
    std::printf("samba lab running under %s\n", root.c_str());
    return 0;
}
