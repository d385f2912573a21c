#pragma once

namespace Ui {
class MainWindow;
class TimerWindow;
} // namespace Ui

// The main window for keyboard and screen-reader users: Tab goes from area to area (search, the
// list as one stop, the note's format bar and text, the recording controls, the player), the
// arrow keys move within an area, and every control has a name and a description.
namespace WindowAccessibility {
void setUp(Ui::MainWindow& window);
void setUp(Ui::TimerWindow& timer);
} // namespace WindowAccessibility
