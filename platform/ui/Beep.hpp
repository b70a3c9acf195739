#pragma once

namespace platform::ui {

/// Sounds the system beep. On the simulated desktop it is counted (`UISimulator::beepCount`).
void beep();

} // namespace platform::ui
