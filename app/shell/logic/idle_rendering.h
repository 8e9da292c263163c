#pragma once

// The rendering the program leaves for the moments the user does nothing: one piece at a time, so input is never
// held up for more than one object.

#include <vector>

class CSitePage;

// Idle rounds without input before rendering starts.
inline constexpr long kIdleRoundsBeforeRendering = 5000;

enum class IdleWork
{
    none,        // nothing is left to render on these pages
    done,        // one piece was done; there may be more
    failed,      // a piece could not be done; trying again at once would fail the same way
    editingText, // a text is being edited on a page: nothing is rendered meanwhile
};

// Does the next piece on the pages in turn: a background that must load its picture first, then, in z-order, the
// first item whose shown object must be rendered again. *page (when given) gets the page of that piece. A page that
// other threads read meanwhile is passed over.
IdleWork RenderNextPiece(const std::vector<CSitePage*>& pages, CSitePage** page = nullptr);
