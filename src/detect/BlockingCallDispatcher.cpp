#include "detect/BlockingCallDispatcher.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace vn {

BlockingCallDispatcher::BlockingCallDispatcher(QObject* target) : target_(target) {}

void BlockingCallDispatcher::Call(const std::function<void()>& function) const {
    QObject* target = target_.data();
    if (!target)
        return;  // the receiving side is gone: nothing can take the call any more
    if (QThread::currentThread() == target->thread()) {
        function();
        return;
    }
    QMetaObject::invokeMethod(target, function, Qt::BlockingQueuedConnection);
}

}  // namespace vn
