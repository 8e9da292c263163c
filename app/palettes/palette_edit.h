#pragma once

// The one way a palette page changes the current object or page: nothing happens when there is nothing to edit or
// the value is already the one shown; otherwise one undo step of the page's kind is recorded before anything
// changes, the change is made, what it touched is drawn again, and the view repaints the selection's old and new
// rectangles (the whole view for a change of the page itself).

#include <functional>

#include "app/model/undo_manager.h"

class CPageObject;
class CSitePage;

// The undo kinds of the pages.
constexpr UndoKind kUndoObject = UndoKind::geometry;
constexpr UndoKind kUndoTextLinks = UndoKind::textBody;
constexpr UndoKind kUndoAdvancedText = UndoKind::advancedText;
constexpr UndoKind kUndoFill = UndoKind::fill;
constexpr UndoKind kUndoEffects = UndoKind::effects;
constexpr UndoKind kUndoStyles = UndoKind::fillAndEffects;
constexpr UndoKind kUndoLink = UndoKind::link;
constexpr UndoKind kUndoPage = UndoKind::pageSettings;

// The object a page edits: the current object while there is a current page, else null.
CPageObject* GetPaletteObject();

// Records one undo step of the kind on the page, makes the change, draws what it touched again and repaints the
// selection's old and new rectangles.
void ApplySelectionEdit(CSitePage& page, UndoKind undoKind, const std::function<void()>& change);
// Applies change to the current object unless unchanged says the object already has the value. True when it did.
bool ApplyObjectEdit(UndoKind undoKind, const std::function<bool(const CPageObject&)>& unchanged,
                     const std::function<void(CPageObject&)>& change);
// The same for the current page.
bool ApplyPageEdit(UndoKind undoKind, const std::function<bool(const CSitePage&)>& unchanged,
                   const std::function<void(CSitePage&)>& change);

// Whether the view's page is editing a text in place, while which the controls that change the page or the object
// outside the text stay disabled.
bool IsViewEditingText();
