// Times the inventory operations that grow with the size of the network, for
// 100,000 computers in 1,000 folders and for 100,000 computers in one
// (expanded) folder: saving and loading through the local SQLite registry,
// `netwarden inventory list` as a script runs it, and the window program
// showing the loaded tree; and inserting 10,000 computers into one folder in
// random order. Prints one line per figure with its target. Meant for the
// release build.

#include <sys/resource.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "WindowLoadTiming.h"
#include "catalogue/ProductCatalogue.h"
#include "inventory/InventoryModel.h"
#include "inventory/InventoryPersistence.h"
#include "inventory/InventoryQueries.h"
#include "platform/local/hive/SqliteRegistry.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kComputers = 100000;
constexpr int kRandomInserts = 10000;

struct Shape {
    const char* name;
    int folders;
    bool expanded;
};

constexpr Shape kShapes[] = {{"in 1,000 folders", 1000, false}, {"in one expanded folder", 1, true}};

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

void BuildInventory(vn::InventoryModel& model, const Shape& shape, const vn::ProductCatalogue& catalogue) {
    const int perFolder = kComputers / shape.folders;
    int number = 0;
    for (int f = 0; f < shape.folders; ++f) {
        auto* folder = static_cast<vn::FolderNode*>(
            model.InsertNode(nullptr, std::make_unique<vn::FolderNode>("Site " + std::to_string(f)), false));
        model.SetExpanded(folder, shape.expanded);
        for (int c = 0; c < perFolder; ++c, ++number)
            model.InsertNode(folder, MakeComputer("pc-" + std::to_string(number), number, catalogue), false);
    }
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor time of this process and its waited-for children: on a busy
// machine the wall time says little, this says what the work itself costs.
double CpuMilliseconds() {
    double total = 0;
    for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        for (const timeval& time : {usage.ru_utime, usage.ru_stime})
            total += static_cast<double>(time.tv_sec) * 1000.0 + static_cast<double>(time.tv_usec) / 1000.0;
    }
    return total;
}

// Wall and processor time from its making to Report.
struct Stopwatch {
    Clock::time_point wall = Clock::now();
    double cpu = CpuMilliseconds();
};

void Report(const std::string& what, const Stopwatch& started, double targetMilliseconds) {
    const double milliseconds = MillisecondsSince(started.wall);
    std::printf("%-62s %8.1f ms  (cpu %8.1f ms; target <= %.0f ms)%s\n", what.c_str(), milliseconds,
                CpuMilliseconds() - started.cpu, targetMilliseconds,
                milliseconds <= targetMilliseconds ? "" : "   OVER TARGET");
    std::fflush(stdout);
}

std::size_t CountComputers(const vn::InventoryModel& model) {
    std::vector<vn::ComputerRecord*> computers;
    vn::CollectComputers(model, nullptr, computers);
    return computers.size();
}

// `netwarden inventory list` on the hive, output thrown away; false when it
// did not run or failed.
bool TimeInventoryList(const std::filesystem::path& program, const std::string& what) {
    // Appended piece by piece: GCC 12 at -O3 warns falsely about operator+ here.
    std::string command = "'";
    command += program.string();
    command += "' inventory list > /dev/null";
    const Stopwatch started;
    const int status = std::system(command.c_str());
    Report(what, started, 1500);
    return status == 0;
}

// Saves, loads, lists and shows one shape. False when a step did not give
// back what it was given.
bool RunShape(const Shape& shape, const std::filesystem::path& directory, vn::ProductCatalogue& catalogue) {
    const std::string user = (directory / (std::string("user-") + std::to_string(shape.folders) + ".db")).string();
    const std::string machine = (directory / "machine.db").string();
    setenv("NETWARDEN_USER_HIVE", user.c_str(), 1);
    setenv("NETWARDEN_MACHINE_HIVE", machine.c_str(), 1);
    vn::SqliteRegistry registry(vn::HivePaths{user, machine});

    vn::InventoryModel model;
    BuildInventory(model, shape, catalogue);
    const std::string suffix = std::string(" 100,000 computers ") + shape.name;

    const Stopwatch saving;
    bool saved = vn::SaveInventory(model, registry);
    Report("save" + suffix, saving, 1500);
    // What the window does at exit: the saved tree replaced by the new one.
    const Stopwatch replacing;
    saved = vn::SaveInventory(model, registry) && saved;
    Report("save again over the saved tree," + suffix, replacing, 1500);

    vn::InventoryModel loaded;
    const Stopwatch loading;
    const bool read = vn::LoadInventory(loaded, registry, catalogue);
    Report("load" + suffix, loading, 1500);

    bool listed = true;
    const std::filesystem::path netwarden = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "netwarden";
    if (std::filesystem::exists(netwarden))
        listed = TimeInventoryList(netwarden, "netwarden inventory list," + suffix);
    else
        std::printf("netwarden inventory list: not built beside the benchmark, not measured\n");

    std::size_t shown = 0;
    const Stopwatch showing;
    ShowWindowWithTheTree(catalogue, shown);
    Report("window showing the loaded tree," + suffix, showing, 2000);

    return saved && read && listed && CountComputers(loaded) == CountComputers(model) &&
           shown == static_cast<std::size_t>(shape.folders);
}

bool RunRandomInserts(const vn::ProductCatalogue& catalogue) {
    std::vector<std::string> names;
    names.reserve(kRandomInserts);
    for (int i = 0; i < kRandomInserts; ++i)
        names.push_back("host-" + std::to_string(i));
    std::shuffle(names.begin(), names.end(), std::mt19937(20240601));
    vn::InventoryModel flat;
    auto* folder =
        static_cast<vn::FolderNode*>(flat.InsertNode(nullptr, std::make_unique<vn::FolderNode>("All"), false));
    const Stopwatch started;
    for (int i = 0; i < kRandomInserts; ++i)
        flat.InsertNode(folder, MakeComputer(names[static_cast<std::size_t>(i)], i, catalogue), false);
    Report("insert 10,000 computers into one folder in random order", started, 2000);
    return CountComputers(flat) == names.size();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    std::string pattern = (std::filesystem::temp_directory_path() / "vn-inventory-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path directory = pattern;
    bool good = true;
    {
        vn::ProductCatalogue catalogue;
        for (const char* name : {"Vantor", "Kestrel"}) {
            auto product = std::make_unique<vn::ProductDef>();
            product->DisplayName = name;
            catalogue.AddUnique(std::move(product));
        }
        for (const Shape& shape : kShapes)
            good = RunShape(shape, directory, catalogue) && good;
        good = RunRandomInserts(catalogue) && good;
    }
    std::filesystem::remove_all(directory);
    if (!good) {
        std::fprintf(stderr, "inventory_bench: the runs did not give back what they were given\n");
        return 1;
    }
    return 0;
}
