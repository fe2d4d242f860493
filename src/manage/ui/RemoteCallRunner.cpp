#include "manage/ui/RemoteCallRunner.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <string>
#include <thread>

namespace vn {

class RemoteCallRunner::UiThreadMessages final : public MessageBoxService {
public:
    explicit UiThreadMessages(const BlockingCallDispatcher& dispatcher) : dispatcher_(dispatcher) {}

    MessageAnswer Show(std::string_view caption, std::string_view text, MessageIcon icon,
                       MessageButtons buttons) override {
        const std::string captionCopy(caption);
        const std::string textCopy(text);
        // Unanswered (the window went away): as a dismissed box.
        MessageAnswer answer = buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
        dispatcher_.Call([&] { answer = ShowMessage(captionCopy, textCopy, icon, buttons); });
        return answer;
    }

private:
    const BlockingCallDispatcher& dispatcher_;
};

RemoteCallRunner::RemoteCallRunner(QObject* owner)
    : dispatcher_(owner),
      messages_(std::make_unique<UiThreadMessages>(dispatcher_)) {}

RemoteCallRunner::~RemoteCallRunner() = default;

MessageBoxService& RemoteCallRunner::Messages() { return *messages_; }

void RemoteCallRunner::Run(const std::function<void()>& work) {
    QEventLoop loop;
    // The end is handed over like a message box, through the dispatcher's
    // own queue, so that everything the work wrote is seen here.
    std::thread worker([&] {
        work();
        dispatcher_.Call([&] { loop.quit(); });
    });
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    QGuiApplication::restoreOverrideCursor();
    worker.join();
}

}  // namespace vn
