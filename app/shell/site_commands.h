#pragma once

// The commands that make pages and change what the pages of the open site carry: Add Page, the meta tags, the
// analytics code, the head HTML and the background beyond the pages.

class CMainFrame;
class CSitePage;
class CWebsite;

// Add Page: asks for the new page's title and ID (and a page to copy), adds it to the open site and shows it in a
// window of its own. Null when no site is open, the page windows are at their limit or the user cancelled.
CSitePage* AddNewPage(CMainFrame& frame);

// Edit > Edit Keywords and Description and Edit > Insert Website Analytics Code: the dialogs' texts go to the
// current page or every page of the open site.
void EditMetaTags(CMainFrame& frame);
void InsertAnalyticsCode(CMainFrame& frame);
// Edit > Edit Header: the current page's head HTML and onload code, as one undo step.
void EditHeaderHtml(CMainFrame& frame);
// Settings > Preferences for background fill: what the browser window shows beyond the pages.
void EditBackgroundPreferences(CMainFrame& frame);
