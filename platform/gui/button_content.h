#pragma once

// Buttons whose picture and text stand at the left edge rather than in the middle.

class wxButton;

// Puts the button's picture and text at its start edge. The toolkit centres a button's content once the button has
// a picture, whatever style it was made with.
void AlignButtonContentStart(wxButton& button);
