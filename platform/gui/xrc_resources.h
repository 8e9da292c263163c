#pragma once

// The dialog templates, menus and toolbars of the resource folder: every *.xrc file in it, loaded into wx's resource
// store, from which dialogs are then built by name (wxXmlResource::Get()->LoadDialog). Menu items and tools name
// their commands as resources/commands.xml does, and are built with the commands' numbers.

#include <string>

// Loads the files in name order, once per file per process. False with *error (when given) naming the first file
// that cannot be loaded, or the folder when it cannot be read.
bool LoadXrcResources(std::string* error = nullptr);
