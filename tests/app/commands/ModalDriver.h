#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>

namespace vn::test {

// Runs action on the next modal dialog of type Dialog as soon as it is open
// (polled from the event loop that its exec() runs). A dialog that never
// comes leaves the action unrun; the test then sees its effects missing.
// Returns the polling timer, which a test that may see no dialog deletes
// when it is done, so that no watcher outlives it.
template <typename Dialog>
QTimer* WhenModal(std::function<void(Dialog&)> action) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, action = std::move(action)] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(*dialog);
        } else if (++*tries > 400) {
            // Not the dialog expected: close whatever is open so that the
            // test fails instead of hanging in exec().
            timer->stop();
            timer->deleteLater();
            if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                other->reject();
        }
    });
    timer->start();
    return timer;
}

}  // namespace vn::test
