#pragma once

// The design view's guide and grid commands as they act on a page: inserting a guide, hiding and removing the
// guides, the three grid densities, and lining the selected objects up between guides. The view keeps the point
// its context menu was opened at and passes it to the insert commands; the lining-up commands record an undo step
// of their own.

#include <optional>

#include "platform/win/win_types.h"

class CSitePage;

// Grid densities: guides every 10, 20 or 40 pixels.
constexpr int kGridModes[] = {1, 2, 4};

bool CanInsertGuide(const CSitePage& page, bool horizontal);
// A horizontal guide at point's y clamped to the page (the middle of the page without a point), a vertical one at
// its x likewise; the guides become visible. Returns the position, or -1 when the list is full.
int InsertGuide(CSitePage& page, bool horizontal, std::optional<CPoint> point);
void ToggleGuidesHidden(CSitePage& page);
bool CanRemoveGuides(const CSitePage& page);
// Removes every guide, and with them the grid.
void RemoveGuides(CSitePage& page);
void SetGrid(CSitePage& page, int mode);

// Only for selections that are no user group, outside text editing.
bool CanSpaceEvenly(const CSitePage& page, bool horizontal);
// Between each two neighbouring guides (in list order) the selected objects whose centres lie in the band are
// spread from the first guide to the second, in the order of their centres; one object alone is centred there.
void SpaceEvenly(CSitePage& page, bool horizontal);
bool CanCenterBetweenGuides(const CSitePage& page);
// Every selected object is centred between the neighbouring guides around its centre, both ways.
void CenterBetweenGuides(CSitePage& page);
