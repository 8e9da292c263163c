#pragma once

// Breaks a text body's paragraphs into lines that fit its width, aligns them and places every character. Layout
// never measures: the characters carry their measures from when they were made or reformatted.

#include "app/objects/text_body.h"

// The margin on the left and top of the frame, and the space below the last line.
constexpr int kTextMargin = 2;
constexpr int kTextBottomSpace = 3;

// The largest ascent (or descent) of the line that would start at index, found by filling the body's width from
// there; a line broken at a blank takes the largest value up to its last blank. A negative index gives the
// paragraph's empty-line height, an index at or past the end 0.
int GetLineAscentAhead(const CTextBody& body, const CTextParagraph& para, int start);
int GetLineDescentAhead(const CTextBody& body, const CTextParagraph& para, int start);

// The index of the last blank at or before index; -1 when there is none.
int FindBreak(const CTextParagraph& para, int index);

// Lays out the whole text: every paragraph is broken into lines again and every line table rebuilt; characters that
// move (or need placing) have their old and new boxes added to the dirty rectangle. The body grows to the height of
// its text (the owner's top edge stays put, and the dirty rectangle then covers everything); the owner takes the
// body's size times its scale.
void LayoutText(CTextBody& body, RECT& dirty);

// After an edit of paragraph para's characters at index (removed characters replaced by inserted ones), lays out
// only the lines from just before the edit on while they move, and the paragraphs below while they move; the text,
// its lines and the dirty rectangle come out as LayoutText leaves them. laidOut says the text stood as its last
// layout left it when the edit began; without that, or when the width, alignment or paragraph count no longer
// match that layout, the whole text is laid out.
void LayoutEditedChars(CTextBody& body, bool laidOut, int para, int index, int removed, int inserted, RECT& dirty);
// The same after paragraphs were split or joined: paragraphs first .. last are laid out whole, those below while
// they move. paragraphChange is how many paragraphs the edit added (negative when it joined them).
void LayoutEditedParagraphs(CTextBody& body, bool laidOut, int first, int last, int paragraphChange, RECT& dirty);
