#pragma once

// The commands that make sites and pages: New Website and Add Page.

class CMainFrame;
class CWebsite;

// Closes the open site (after asking, and saving when the user wants), asks for the new site's settings and opens
// it with its front page in a window. Null when the user kept the open site or cancelled.
CWebsite* NewWebsite(CMainFrame& frame);
