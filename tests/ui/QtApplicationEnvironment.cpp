// One application object for the widget tests, made before the first test
// and kept until the program ends (QT_QPA_PLATFORM=offscreen comes from CTest).
#include <gtest/gtest.h>

#include <unistd.h>
#include <QApplication>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

// The offscreen platform's own screen is 800x800, smaller than the window's
// first size; the tests see a common desktop screen instead. The file the
// platform reads it from, to be removed once the application is made.
std::filesystem::path UseDesktopSizedScreen() {
    if (qgetenv("QT_QPA_PLATFORM") != "offscreen")
        return {};
    auto config = std::filesystem::temp_directory_path() / ("vn_offscreen_" + std::to_string(::getpid()) + ".json");
    std::ofstream(config) << R"({"screens":[{"name":"Desktop","x":0,"y":0,"width":1440,"height":900,)"
                             R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})";
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + QByteArray::fromStdString(config.string()));
    return config;
}

class QtApplicationEnvironment final : public testing::Environment {
public:
    void SetUp() override {
        const std::filesystem::path config = UseDesktopSizedScreen();
        app_ = std::make_unique<QApplication>(argc_, argv_);
        if (!config.empty())
            std::filesystem::remove(config);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "vn_ui_widgets";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
