// idle.h: the idle loop that drives blinking colours and script animation.
#pragma once

// The idle callback: one idle step, then it removes itself and comes back
// through a 0.02 s timeout, so it runs at most about 50 times a second.
void IdleFunc(void*);

// The timeout handler that installs `IdleFunc` again.
void resetidle(void*);

// Installs the idle callback (the first call only starts the blink clock).
void startidle();

// Removes the idle callback and its pending timeout.
void stopidle();
