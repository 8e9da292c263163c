#pragma once

// What the upload's progress dialog shows: a status line, a bar over the bytes of the current phase, and whether
// Cancel was pressed. The upload sets the texts and the range; its progress callback steps the bar and learns of a
// cancel from the answer.

#include <string>

class CFtp;

class CUploadProgress
{
public:
    // A range of 0..total bytes (a negative total counts as 0), position 0, an empty status line.
    explicit CUploadProgress(int total);

    void SetStatusText(const std::string& text) { m_status = text; }
    const std::string& GetStatusText() const { return m_status; }

    // A new range 0..total, the position back at 0.
    void SetRange(int total);
    int GetRange() const { return m_range; }

    // Adds the bytes to the position; false once Cancel has been pressed. The position stops at the largest int
    // rather than wrap, and negative steps are ignored.
    bool StepProgress(int bytes);
    int GetPosition() const { return m_nPosition; }
    // Where the bar stands: the position held within the range, so steps beyond it leave the bar full and a range of
    // 0 leaves it empty.
    int GetBarPosition() const;

    // The Cancel button: sets the flag and drops the connection at once when there is one. Pressed again, it only
    // drops the connection again.
    void Cancel(CFtp* connection);
    bool IsCancelled() const { return m_bCancelled; }

private:
    std::string m_status;
    int m_range = 0;
    int m_nPosition = 0;
    bool m_bCancelled = false;
};
