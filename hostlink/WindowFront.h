// Bringing the program's window forward when another process asks for it
// (a second start of the program).
#pragma once

class QWidget;

// Shows Window unminimised and raised, with a modal dialog open over it in
// front of it, and gives the keyboard to the one in front.
void BringToFront(QWidget *Window);
