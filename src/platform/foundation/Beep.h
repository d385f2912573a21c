#pragma once

// The system beep, for refused actions.
void Beep();
// How many beeps this process has sounded (tests check that a refusal beeped).
int beepCount();
