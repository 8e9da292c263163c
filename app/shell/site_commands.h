#pragma once

// The commands of the open site and its pages: New, Open, Save and Close Website and the site's files (carried out by
// the open site and its document), Add Page and Delete Page, the meta tags, the analytics code, the head HTML and
// the background beyond the pages.

class CCommandTable;
struct CShellContext;
class CSitePage;
class CWebsite;

// Add Page: asks for the new page's title and ID (and a page to copy), adds it to the open site and shows it in a
// window of its own. Null when no site is open, the page windows are at their limit or the user cancelled.
CSitePage* AddNewPage(const CShellContext& context);

// Edit > Edit Keywords and Description and Edit > Insert Website Analytics Code: the dialogs' texts go to the
// current page or every page of the open site.
void EditMetaTags(const CShellContext& context);
void InsertAnalyticsCode(const CShellContext& context);
// Edit > Edit Header: the current page's head HTML and onload code, as one undo step.
void EditHeaderHtml(const CShellContext& context);
// Settings > Preferences for background fill: what the browser window shows beyond the pages.
void EditBackgroundPreferences(const CShellContext& context);

// Adds these commands to the table.
void AddSiteCommands(CCommandTable& table, const CShellContext& context);
