#pragma once

// The text caret of the design view, apart from any window: where it stands, whether it shows, its blink, and the
// client rectangles a change leaves to paint again. The view draws the caret itself into the pixels it paints (no
// caret of the toolkit saving and restoring what lies under it), so each change only asks for the caret's old and
// new rectangles to be painted again.

#include <vector>

#include "app/docview/view_paint.h"
#include "platform/win/win_types.h"

class ViewCaret
{
public:
    // Client rectangles to paint again after a change.
    using Areas = std::vector<CRect>;

    // The caret becomes a bar one pixel wide and height pixels high.
    Areas SetHeight(int height);
    // Moves the caret to a client point and shows it, in the visible phase of its blink.
    Areas MoveTo(const CPoint& client);
    Areas Hide();
    // The view gains or loses the keyboard focus: the caret shows only while it has it.
    Areas SetFocus(bool focused);
    // The blink's next phase; nothing to paint when the caret does not blink now.
    Areas Blink();

    // Shown as the text asks, whatever the focus and the blink say.
    bool IsShown() const { return m_shown; }
    bool HasFocus() const { return m_focused; }
    // Whether a blink timer should run: shown, in the focused view, and with a size.
    bool Blinks() const { return m_shown && m_focused && m_height > 0; }
    // Whether the pixels show the caret now.
    bool IsDrawn() const { return Blinks() && m_on; }
    CPoint GetPosition() const { return m_pos; }
    int GetHeight() const { return m_height; }
    CRect GetRect() const { return CRect(m_pos.x, m_pos.y, m_pos.x + 1, m_pos.y + m_height); }

    // Draws the caret, when it shows, into pixels that hold the client rectangle clip: the pixels under it are
    // inverted, so it shows on any colour and a repaint of what lies under it takes it away.
    void Draw(ViewPixels& pixels, const CRect& clip) const;

private:
    Areas DrawnArea() const;

    CPoint m_pos;
    int m_height = 0;
    bool m_shown = false;
    bool m_focused = false;
    bool m_on = true;
};
