#pragma once

// The texts the page writer puts into a built page's head and body end: the meta keywords and description, and
// the tracking code of a web-analytics service. A page whose text changes counts as modified, and as changed for
// the next upload, so that the new texts reach the server.

#include <string>

class CWebsite;
class CSitePage;

// To every page of the site, or to current only.
void ApplyMetaTags(CWebsite& site, CSitePage* current, const std::string& keywords, const std::string& description,
                   bool allPages);
// To every page of the site; an empty code removes it.
void ApplyAnalyticsCode(CWebsite& site, const std::string& code);

// The HTML of the page's head and its onload code, as one undo step.
void ApplyHeaderHtml(CSitePage& page, const std::string& headerHtml, const std::string& onloadCode);
