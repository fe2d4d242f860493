#include "ScreenRenderer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace vn {

void ScreenRenderer::Settle() {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 100)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool ScreenRenderer::Save(const QString& name) {
    Settle();
    return Write(name, window_.grab());
}

bool ScreenRenderer::SaveWithPopup(const QString& name, const std::function<void()>& openMenu) {
    bool fired = false;
    bool written = false;
    // The menu's own event loop runs the timer; the picture is taken from in there.
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &window_, [&] {
        fired = true;
        QWidget* popup = QApplication::activePopupWidget();
        if (popup == nullptr) {
            std::fprintf(stderr, "netwarden_screens: no menu open for %s\n", qPrintable(name));
            return;
        }
        QPixmap picture = window_.grab();
        QPainter painter(&picture);
        painter.drawPixmap(window_.mapFromGlobal(popup->mapToGlobal(QPoint(0, 0))), popup->grab());
        painter.end();
        written = Write(name, picture);
        popup->close();
    });
    Settle();
    timer.start(300);
    openMenu();
    // An action that opened no menu has returned at once; the timer still
    // reports that.
    QElapsedTimer waited;
    waited.start();
    while (!fired && waited.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return written;
}

bool ScreenRenderer::Write(const QString& name, const QPixmap& picture) {
    const QString path = QDir(folder_).filePath(name + QStringLiteral(".png"));
    // Screens hold few colours: a palette image at the strongest compression
    // keeps the committed pictures small.
    const QImage small =
        picture.toImage().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    if (!small.save(path, "PNG", 0)) {
        std::fprintf(stderr, "netwarden_screens: cannot write %s\n", qPrintable(path));
        return false;
    }
    ++saved_;
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace vn
