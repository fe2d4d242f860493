#include "manage/ui/ProgressAnimation.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QProgressBar>
#include <QTimer>

namespace vn {

void AnimateProgress(QProgressBar& bar, int steps, int pauseMilliseconds) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    bar.show();
    for (int step = 1; step <= steps; ++step) {
        bar.setValue(step);
        QEventLoop pause;
        QTimer::singleShot(pauseMilliseconds, &pause, &QEventLoop::quit);
        pause.exec(QEventLoop::ExcludeUserInputEvents);
    }
    bar.hide();
    QGuiApplication::restoreOverrideCursor();
}

}  // namespace vn
