#pragma once

class QWidget;

namespace brenzola {

// Names every control of `window` for screen readers, where nothing named it yet: a control a
// label stands beside (the label's buddy) by the label's text, without its access key and
// closing colon; a control that hands its focus to a part of its own (a date field to its
// editor) passes its name and description to that part; a button that shows no word, a list
// box or a number box without a label, by its tooltip. Qt already describes a control by its
// tooltip while it has no description of its own. Called once a window's controls are built,
// so the names are in the language of their labels.
void nameForScreenReaders(QWidget* window);

}  // namespace brenzola
