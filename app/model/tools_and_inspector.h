#pragma once

// How the core reaches the tools bar, the Shapes palette and the inspector palettes without depending on them.
// Every function is pure, so the program's services must answer each one to build; until they are installed (and
// in headless use) NullToolsAndInspector answers that there is no tools bar and no inspector palettes. Tests derive
// their fakes from it.

#include "image/image.h"

class ToolsAndInspector
{
public:
    virtual ~ToolsAndInspector() = default;

    // The tools bar's current tool, 0 when there is no tools bar.
    virtual int GetToolsBarTool() = 0;
    // The tools bar's current colour; false, with the colour untouched, when there is no tools bar.
    virtual bool GetToolsBarColor(CColor& color) = 0;
    // The mouse tools change the tools bar's tool and colour (the eyedropper), read the shape kind the shape tool
    // draws and let the Shapes palette's buttons go when a shape is started.
    virtual void SetToolsBarTool(int tool) = 0;
    virtual void SetToolsBarColor(const CColor& color) = 0;
    virtual int GetToolsBarShapeKind() = 0;
    virtual void ResetShapesPalette() = 0;
    // Shows the Object palette; with a command, sends it that command (1558 Edit HTML, 1606 Flash),
    // telling it first whether the object was just made.
    virtual void ShowObjectInspector() = 0;
    virtual void SendObjectPageCommand(int command, bool newObject) = 0;
    // Refreshes the active inspector palette page with a code (10011 item added or removed, 10012 frames
    // changed, 10015 text object resized, 10016 text typed, 10018 undo, delete, groups or pages changed).
    virtual void NotifyInspector(int code) = 0;
};

class NullToolsAndInspector : public ToolsAndInspector
{
public:
    int GetToolsBarTool() override { return 0; }
    bool GetToolsBarColor(CColor& color) override
    {
        (void)color;
        return false;
    }
    void SetToolsBarTool(int tool) override { (void)tool; }
    void SetToolsBarColor(const CColor& color) override { (void)color; }
    int GetToolsBarShapeKind() override { return 1; }
    void ResetShapesPalette() override {}
    void ShowObjectInspector() override {}
    void SendObjectPageCommand(int command, bool newObject) override { (void)command, (void)newObject; }
    void NotifyInspector(int code) override { (void)code; }
};

// Installs the program's tools bar and palettes; the caller keeps ownership and must keep them alive while
// installed. Null puts back the headless answers.
void SetToolsAndInspector(ToolsAndInspector* tools);
ToolsAndInspector& GetToolsAndInspector();
// Installs tools as SetToolsAndInspector does and hands back what answered before, so that a scope can put it back
// (seams_test_support.h does so for every seam).
ToolsAndInspector* ExchangeSeam(ToolsAndInspector* tools);
