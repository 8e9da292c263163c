#pragma once

// The size of the preview window: the page with room for the window's frame, buttons and status line, never larger
// than the screen less a margin and never smaller than the window can be made.

#include "platform/win/win_types.h"

// The smallest size the preview window can be given.
inline constexpr int kPreviewMinWidth = 360;
inline constexpr int kPreviewMinHeight = 300;

// The window's size for a page of pageSize on a screen of screenSize; chrome is what the window adds around the page
// (frame, scroll bar, buttons, caption and status line).
CSize PreviewWindowSize(CSize pageSize, CSize chrome, CSize screenSize);
