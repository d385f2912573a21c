#pragma once

// The system beep, for refused actions.
void Beep();
