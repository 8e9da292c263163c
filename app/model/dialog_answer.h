#pragma once

// How the user ended a dialog or a question the core asked through the program's services.

// A dialog with OK and Cancel (or a notice with OK alone, which answers ok).
enum class DialogAnswer
{
    ok,
    cancel,
};

// A question with Yes, No and Cancel.
enum class YesNoCancel
{
    yes,
    no,
    cancel,
};
