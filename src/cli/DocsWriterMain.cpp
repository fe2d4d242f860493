// netwarden_docs_writer FOLDER VERSION: writes the manual pages netwarden.1
// and VtrNetwarden.1 and the bash completion file netwarden into FOLDER, at
// build time, from the tables netwarden's --help prints.
#include <fstream>
#include <iostream>
#include <string>

#include "cli/BashCompletion.h"
#include "cli/ManualPages.h"

namespace {

bool Write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (out)
        return true;
    std::cerr << "netwarden_docs_writer: cannot write " << path << '\n';
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "Usage: netwarden_docs_writer FOLDER VERSION\n";
        return 2;
    }
    const std::string folder = argv[1];
    const std::string version = argv[2];
    const bool written = Write(folder + "/netwarden.1", vn::cli::NetwardenManualPage(version)) &&
                         Write(folder + "/VtrNetwarden.1", vn::cli::WindowProgramManualPage(version)) &&
                         Write(folder + "/netwarden", vn::cli::BashCompletionScript());
    return written ? 0 : 1;
}
