#pragma once

// The documents the pages link to (links of the document kind): checked for existence before any build, listed
// with the names they are published under, and gathered for copying beside a built site.

#include <string>
#include <vector>

class CWebsite;
class CPageObject;

// Where a missing document was found: the page index and the item index in its z-order.
struct MissingDocument
{
    std::string path;
    int page = -1;
    int item = -1;
};

// The document links of one object: for a plain text object, its characters' links (a path equal to the one
// just before it counted once), else the object's own link when it is on. Objects without a fill have none.
std::vector<std::string> DocumentLinksOf(const CPageObject& object);

// Empties the program's linked-file list, then walks the pages (all of them, or only onlyPage when it is 0 or
// more) in order and their items in z-order: the first document that does not exist is returned; every one that
// exists is listed (AddLinkedFile). An empty path when all exist.
MissingDocument FindMissingFile(const CWebsite& site, int onlyPage = -1);

// Every linked document of the site that exists, each once, in the order found.
std::vector<std::string> CollectLinkedFiles(const CWebsite& site);

// Points every document link of the site that names from (objects' own links and the links of text characters, in
// both states of every item) at to. Answers how many links changed.
int ReplaceDocumentLinks(CWebsite& site, const std::string& from, const std::string& to);

// Whether a regular file (or a link to one) exists at path.
bool FileExists(const std::string& path);
