#pragma once

// A theme opened as the start of a new site keeps its pages and objects, but not what its links pointed at: only
// the part of each link that its kind uses while it is on survives.

class CLinkInfo;
class CWebsite;

// The link of an object: the unused fields go back to their defaults for a new link.
void ClearThemeObjectLink(CLinkInfo& link);
// The link of a character of a text: unused texts are emptied, and a link that is off becomes a page link.
void ClearThemeCharLink(CLinkInfo& link);
// Both over every object of every page, mouse-over objects included.
void ClearThemeLinks(CWebsite& site);
