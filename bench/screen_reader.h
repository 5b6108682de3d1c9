// Makes this process look to Qt as if a screen reader were listening, and answers its
// events as one does, so that the cost of accessibility shows in the figures.
#pragma once

namespace bench {

// Qt turns accessibility on only when the platform reports an assistive technology, and
// offers no public switch for it. Returns false when it could not be turned on.
bool SwitchOnAccessibility();

// Receives every accessibility event from then on. Like a screen reader it reads the line
// at the caret when the caret moves and the inserted text when text is typed.
void ListenLikeAScreenReader();

// Events received since ListenLikeAScreenReader, and the characters read back.
long AccessibilityEventsSeen();
long CharactersReadBack();

}  // namespace bench
