#pragma once
// Every caption must be fully visible inside its control at its design size, whatever fonts the
// machine has: the window's font is shrunk until all captions fit.

class QFont;
class QWidget;

// True when the control's caption (label, button or line-edit text) fits inside it with font.
bool captionFits(const QWidget* control, const QFont& font);

// True when every caption of window's children fits with their current fonts.
bool allCaptionsFit(const QWidget* window);

// Sets window's font to the largest size from 9 pt down to 6 pt, in half points, at which every
// caption fits; 6 pt when none does.
void fitCaptionFont(QWidget* window);
