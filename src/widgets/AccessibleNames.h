#pragma once

class QWidget;

// Gives every control under `root` that has none an accessible name and description, so
// that a screen reader can tell what each one is for: the name comes from the label beside
// the control (its buddy, the label before it in its layout, or the box around it), a list's
// from its box or label, and the description from its tool tip or, for a list, its column
// headers. Names set by hand are kept. Cheap enough to run whenever a window is built.
void NameControls(QWidget* root);
