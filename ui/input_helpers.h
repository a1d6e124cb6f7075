// Small pieces the input window and its dialog share.
#pragma once

#include "calc/stop.h"

#include <QWidget>

namespace vardel::input_ui {

// Places the window in the middle of its screen.
void CentreOnScreen(QWidget& window);

// The message box of a stop: its icon, its title (the program's title when it has none), OK.
void ShowStop(QWidget* parent, const Stop& stop);

}  // namespace vardel::input_ui
