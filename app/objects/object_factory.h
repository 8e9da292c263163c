#pragma once

// Page objects are stored behind a 32-bit class tag. The factory reads the tag, makes an object of that class
// and lets it read the rest of itself.

#include <memory>

#include "app/objects/page_object.h"
#include "platform/win/file.h"
#include "platform/win/win_types.h"

// The class tags, written little-endian as the first four bytes of every saved object.
constexpr DWORD kCircleObjectTag = 0x10b681c2;
constexpr DWORD kRectangleObjectTag = 0x91205257;
constexpr DWORD kPolygonObjectTag = 0x33b684c5;
constexpr DWORD kTextObjectTag = 0x930124b8;
constexpr DWORD kCounterObjectTag = 0xa7f28514;
constexpr DWORD kHtmlObjectTag = 0x18bcff07;
constexpr DWORD kFormObjectTag = 0x7a56c093;

// Makes an object of one class with neutral arguments that its Load then overwrites.
using PageObjectCreator = std::unique_ptr<CPageObject> (*)();

// Reads a class tag and the object behind it. A tag that names no class, or a class that refuses its data,
// raises the file exception; the partly read object is freed and nothing is returned.
std::unique_ptr<CPageObject> CreatePageObjectFromArchive(CFile& file, int major, int minor);

// The creator the factory uses for a class tag; null while no class is built for it (the factory then refuses
// the tag) and for values that are no class tag.
PageObjectCreator GetPageObjectCreator(DWORD tag);
// Puts in the creator for one of the class tags above and answers the one it replaces (tests plug their own
// classes in this way). Other values raise std::invalid_argument: the tags are fixed by the file format.
PageObjectCreator SetPageObjectCreator(DWORD tag, PageObjectCreator creator);
