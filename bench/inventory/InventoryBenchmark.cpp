// Times the inventory operations that grow with the size of the network:
// saving and loading 10,000 computers in 100 folders through the local
// SQLite registry, and inserting 10,000 computers into one folder in random
// order. Prints one line per figure with its target.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "detect/ProductCatalogue.h"
#include "inventory/InventoryModel.h"
#include "inventory/InventoryPersistence.h"
#include "inventory/InventoryQueries.h"
#include "platform/local/SqliteRegistry.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFolders = 100;
constexpr int kComputersPerFolder = 100;

std::unique_ptr<vn::ComputerRecord> MakeComputer(const std::string& name, int number,
                                                 const vn::ProductCatalogue& catalogue) {
    auto computer = std::make_unique<vn::ComputerRecord>(name);
    computer->OSVersion = "Windows 2000 Professional 5.0";
    computer->Description = "Workstation " + std::to_string(number);
    computer->LastKnownIP = 0x0A000000u + static_cast<std::uint32_t>(number);
    if (number % 3 == 0)
        computer->InstalledProducts.push_back(&catalogue.at(0));
    if (number % 5 == 0)
        computer->InstalledProducts.push_back(&catalogue.at(1));
    return computer;
}

void BuildInventory(vn::InventoryModel& model, const vn::ProductCatalogue& catalogue) {
    int number = 0;
    for (int f = 0; f < kFolders; ++f) {
        auto* folder = static_cast<vn::FolderNode*>(
            model.InsertNode(nullptr, std::make_unique<vn::FolderNode>("Site " + std::to_string(f)), false));
        for (int c = 0; c < kComputersPerFolder; ++c, ++number)
            model.InsertNode(folder, MakeComputer("pc-" + std::to_string(number), number, catalogue), false);
    }
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Report(const char* what, double milliseconds, double targetMilliseconds) {
    std::printf("%-46s %8.1f ms   (target <= %.0f ms)%s\n", what, milliseconds, targetMilliseconds,
                milliseconds <= targetMilliseconds ? "" : "   OVER TARGET");
}

std::size_t CountComputers(const vn::InventoryModel& model) {
    std::vector<vn::ComputerRecord*> computers;
    vn::CollectComputers(model, nullptr, computers);
    return computers.size();
}

}  // namespace

int main() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vn-inventory-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path directory = pattern;
    int result = 0;
    {
        vn::SqliteRegistry registry(
            vn::HivePaths{(directory / "user.db").string(), (directory / "machine.db").string()});
        vn::ProductCatalogue catalogue;
        for (const char* name : {"Vantor", "Kestrel"}) {
            auto product = std::make_unique<vn::ProductDef>();
            product->DisplayName = name;
            catalogue.AddUnique(std::move(product));
        }

        vn::InventoryModel model;
        BuildInventory(model, catalogue);

        auto start = Clock::now();
        const bool saved = vn::SaveInventory(model, registry);
        Report("save 10,000 computers in 100 folders", MillisecondsSince(start), 1000);

        vn::InventoryModel loaded;
        start = Clock::now();
        const bool read = vn::LoadInventory(loaded, registry, catalogue);
        Report("load 10,000 computers in 100 folders", MillisecondsSince(start), 1000);

        std::vector<std::string> names;
        for (int i = 0; i < kFolders * kComputersPerFolder; ++i)
            names.push_back("host-" + std::to_string(i));
        std::shuffle(names.begin(), names.end(), std::mt19937(20240601));
        vn::InventoryModel flat;
        auto* folder = static_cast<vn::FolderNode*>(
            flat.InsertNode(nullptr, std::make_unique<vn::FolderNode>("All"), false));
        start = Clock::now();
        for (int i = 0; i < static_cast<int>(names.size()); ++i)
            flat.InsertNode(folder, MakeComputer(names[static_cast<std::size_t>(i)], i, catalogue), false);
        Report("insert 10,000 computers into one folder", MillisecondsSince(start), 2000);

        if (!saved || !read || CountComputers(loaded) != CountComputers(model) ||
            CountComputers(flat) != names.size()) {
            std::fprintf(stderr, "inventory_bench: the runs did not give back what they were given\n");
            result = 1;
        }
    }
    std::filesystem::remove_all(directory);
    return result;
}
