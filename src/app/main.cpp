#include <QApplication>
#include <QMainWindow>

#include "ui/QtMessageBoxService.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantor Netwarden"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Vantor Netwarden"));
    vn::QtMessageBoxService messageBoxes(&window);
    vn::InstallMessageBoxService(&messageBoxes);
    window.resize(900, 600);
    window.show();
    const int result = QApplication::exec();
    vn::InstallMessageBoxService(nullptr);
    return result;
}
