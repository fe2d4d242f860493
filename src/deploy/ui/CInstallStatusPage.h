#pragma once

#include <QWidget>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "deploy/InstallStatusSink.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QTimer;

namespace vn {

// The wizard's progress page: the computer line, the total and current bars,
// the error note and the details list. It is the runner's InstallStatusSink;
// its operations run on the user-interface thread (the runner reaches it
// through a DispatchedInstallStatusSink).
//
// The list keeps of each target's entries the first and the last
// kKeptEntries; one entry in their midst says how many were left out, so a
// tool that prints without end holds the list at a fixed size and its latest
// lines still show. New entries reach the list at each tick of the page's
// timer (and before anything else looks at it), so a fast tool costs one
// layout of the list per tick rather than one per block of its output.
class CInstallStatusPage final : public QWidget, public InstallStatusSink {
    Q_OBJECT
public:
    static constexpr int kKeptEntries = 1000;

    explicit CInstallStatusPage(QWidget* parent = nullptr);

    void BeginRun(int count) override;
    void SetAnimating(bool on) override;
    void SetComputerLine(const std::string& text) override;
    void AddDetails(const std::string& text) override;
    void SetTotalPos(int position) override;
    bool AskToStop(const std::string& question) override;
    void EndRun(const std::string& summary, bool errors) override;

    // The entries of the details list, in order.
    std::vector<std::string> DetailLines();

    void ShowDetailsList(bool show);

    // Told when a run begins (true) and ends (false), for the wizard's buttons.
    std::function<void(bool running)> onRunning;
    // Told when the stop question is about to be asked.
    std::function<void()> onAsking;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Advance();
    // Moves the entries on their way into the list.
    void ShowPending();

    QLabel* computerLine_;
    QLabel* totalLabel_;
    QProgressBar* total_;
    QLabel* currentLabel_;
    QProgressBar* current_;
    QLabel* errorNote_;
    QListWidget* details_;
    QTimer* timer_;
    bool animating_ = false;
    int targetStart_ = 0;    // the row of the current target's first entry
    int targetEntries_ = 0;  // entries the current target added, kept or not
    // On their way: of the current target's first entries, then the latest
    // of the rest (at most kKeptEntries).
    std::vector<std::string> pendingFirst_;
    std::deque<std::string> pendingLast_;
};

// The ready page: two centred texts.
class CInstallFinalPage final : public QWidget {
    Q_OBJECT
public:
    explicit CInstallFinalPage(QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* begin_;
    QLabel* review_;
};

}  // namespace vn
