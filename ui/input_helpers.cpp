#include "ui/input_helpers.h"

#include "calc/calculate.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace vardel::input_ui {

void CentreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    window.adjustSize();  // the size the layout gives, also before the first show
    const QRect area = screen->availableGeometry();
    const QSize size = window.frameGeometry().size();
    window.move(area.x() + (area.width() - size.width()) / 2,
                area.y() + (area.height() - size.height()) / 2);
}

void ShowStop(QWidget* parent, const Stop& stop) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (stop.icon) {
        case StopIcon::Critical:
            icon = QMessageBox::Critical;
            break;
        case StopIcon::Exclamation:
            icon = QMessageBox::Warning;
            break;
        case StopIcon::Information:
            icon = QMessageBox::Information;
            break;
        case StopIcon::None:
            break;
    }
    QMessageBox box(icon, stop.title.isEmpty() ? ProgramTitle() : stop.title, stop.message,
                    QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace vardel::input_ui
