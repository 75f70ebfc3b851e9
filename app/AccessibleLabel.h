#pragma once
// Ties a caption to the control it names, so a screen reader announces the control by it.

class QLabel;
class QWidget;

// Makes label the buddy of field (the "labelled by" relation assistive tools follow) and gives
// field the label's text, access-key marks removed, as its accessible name. The label's caption
// is left as it is. Call after the caption is set.
void labelControl(QLabel* label, QWidget* field);
