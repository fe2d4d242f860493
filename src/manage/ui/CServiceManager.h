#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "manage/RemoteServices.h"
#include "manage/ui/RemoteCallRunner.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace vn {

struct ComputerRecord;

// "Disable/Enable Remote Access Services ": the remote access services of one
// computer with their startup types and states, to start, stop and
// reconfigure. Every remote call runs off the user-interface thread.
class CServiceManager final : public QDialog {
    Q_OBJECT
public:
    explicit CServiceManager(Platform& platform, QWidget* parent = nullptr);
    ~CServiceManager() override;

    // Before the dialog is shown: opens the computer's service control manager
    // (a failure is told, and every service then reads Unknown) and lays out
    // one row per service product, read from the computer.
    void SetComputer(const ComputerRecord& computer);

    // Writes the startup types chosen in the lists.
    void Apply();
    // The row's button: stops a started service, starts a stopped one.
    void StartOrStop(std::size_t row);

    // OK writes the types when a list changed; neither closes the dialog
    // while a remote call runs.
    void accept() override;
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Row {
        const ProductDef* product;
        QLabel* name;
        QComboBox* startup;
        QLabel* status;
        QPushButton* button;
    };
    struct RowState {
        std::uint32_t start = 0;
        ServiceState state = ServiceState::Unknown;
    };

    void CreateBand(const QString& computerName);
    void CreateBottom();
    void AddRow(const ProductDef& product);
    void ShowStartupType(Row& row, std::uint32_t start);
    void ShowState(Row& row, ServiceState state);
    void RunRemote(const std::function<void()>& work);

    Platform& platform_;
    RemoteCallRunner runner_;
    std::unique_ptr<RemoteServices> services_;
    std::vector<Row> rows_;
    bool changed_ = false;
    bool loading_ = false;
    bool busy_ = false;
    QProgressBar* progress_ = nullptr;
    QPushButton* apply_ = nullptr;
};

}  // namespace vn
