#pragma once

class QWidget;

// Puts a top-level window's frame in the middle of the available area of
// the screen it is on (the primary screen before it is shown).
void centreOnScreen(QWidget *window);
