#pragma once

// Test support: services that record what the pages ask of the program, with an optional design view showing a
// page, a tools bar tool, an open insert-HTML dialog and undo managers that record their steps (or the real
// history). Installed for the lifetime of the object.

#include <memory>
#include <string>
#include <vector>

#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/model/undo_manager.h"
#include "app/site/page_undo_manager.h"
#include "app/site/site_page.h"

class RecordingUndoManager : public CUndoManager
{
public:
    using CUndoManager::CUndoManager;

    void RecordUndo(UndoKind kind) override { recorded.push_back(static_cast<int>(kind)); }
    bool CanUndo() const override { return canUndo; }
    bool CanRedo() const override { return canRedo; }
    void Undo() override { ++undos; }
    void Redo() override { ++redos; }

    std::vector<int> recorded;
    bool canUndo = false;
    bool canRedo = false;
    int undos = 0;
    int redos = 0;
};

class SiteServicesFake : public NullCoreServices,
                         public NullMessages,
                         public NullCurrentState,
                         public NullModelDialogs,
                         public NullToolsAndInspector
{
public:
    SiteServicesFake() = default;
    SiteServicesFake(const SiteServicesFake&) = delete;
    SiteServicesFake& operator=(const SiteServicesFake&) = delete;

    // Puts a view on screen that shows the page; null takes it away.
    void ShowPage(CSitePage* page) { viewPage = page; }
    PageView* View() { return &m_view; }

    PageView* GetCurrentView() override { return viewPage ? View() : nullptr; }
    CPageObject* GetCurrentObject() override { return currentObject; }
    int GetToolsBarTool() override { return tool; }
    void SetToolsBarTool(int t) override { tool = t; }
    void SetToolsBarColor(const CColor& color) override { toolsBarColors.push_back(color.GetCOLORREF()); }
    int GetToolsBarShapeKind() override { return shapeKind; }
    void SendObjectPageCommand(int command, bool newObject) override
    {
        objectPageCommands.push_back(newObject ? -command : command);
    }
    void NotifyInspector(int code) override { codes.push_back(code); }
    void SetSiteModified() override { ++siteModified; }
    bool IsInsertHtmlDialogOpen() override { return insertHtmlOpen; }
    void RemoveInsertHtmlFile() override { ++removedHtmlFiles; }
    void EndAllTextEditing() override { ++textEditsEnded; }
    void UpdateTitle() override { ++titleUpdates; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowInfoMessage(const std::string& text) override
    {
        messages.push_back(text);
        infoMessages.push_back(text);
    }
    bool AskYesNo(const std::string& caption, const std::string& text) override
    {
        questions.push_back(caption + "|" + text);
        return answerYes;
    }
    void Beep() override { ++beeps; }
    DialogAnswer ShowDeletePageDialog() override { return deletePageAnswer; }
    CSitePage* CloseActivePageWindow() override
    {
        ++closedWindows;
        return pageAfterClose;
    }
    bool RunFilesDialog(FilesDialogKind kind, const std::vector<std::string>& reserved,
                        const std::vector<const CFilePair*>& pairs, FilesDialogResult& result) override
    {
        dialogKinds.push_back(kind);
        reservedSeen = reserved;
        pairsSeen = pairs.size();
        if (!filesChosen)
            return false;
        result = filesResult;
        return true;
    }
    std::unique_ptr<CUndoManager> CreateUndoManager(CSitePage* owner, int capacity) override
    {
        if (realUndo)
            return std::make_unique<CPageUndoManager>(owner, capacity);
        auto manager = std::make_unique<RecordingUndoManager>(owner, capacity);
        lastUndoManager = manager.get();
        return manager;
    }

    CSitePage* viewPage = nullptr;
    // Pages made while set get the real undo history instead of the recording one.
    bool realUndo = false;
    int tool = 0;
    int shapeKind = 1;
    std::vector<unsigned long> toolsBarColors;
    // Commands sent to the Object page, negative when they were sent for a new object.
    std::vector<int> objectPageCommands;
    bool insertHtmlOpen = false;
    CRect selectionRect;
    std::vector<int> codes;
    int siteModified = 0;
    int scrollUpdates = 0;
    int erasedViews = 0;
    int paintedViews = 0;
    std::vector<CRect> invalidatedRects;
    int removedHtmlFiles = 0;
    int textEditsEnded = 0;
    RecordingUndoManager* lastUndoManager = nullptr;
    // The selected object, and the steps recorded on the view's page through the program.
    CPageObject* currentObject = nullptr;
    std::vector<int> viewUndoKinds;
    int titleUpdates = 0;
    std::vector<std::string> messages;
    // Those of them shown with the information icon.
    std::vector<std::string> infoMessages;
    std::vector<std::string> questions;
    bool answerYes = true;
    int beeps = 0;
    DialogAnswer deletePageAnswer = DialogAnswer::ok;
    CSitePage* pageAfterClose = nullptr;
    int closedWindows = 0;
    bool filesChosen = false;
    FilesDialogResult filesResult;
    std::vector<FilesDialogKind> dialogKinds;
    std::vector<std::string> reservedSeen;
    size_t pairsSeen = 0;

private:
    // The view showing viewPage, which records what it is asked into the fields above.
    class FakeView : public NullPageView
    {
    public:
        explicit FakeView(SiteServicesFake& fake) : m_fake(fake) {}
        CSitePage* GetPage() const override { return m_fake.viewPage; }
        CRect GetSelectionRect() const override { return m_fake.selectionRect; }
        void UpdateScrollSizes() override { ++m_fake.scrollUpdates; }
        void InvalidateView(bool erase) override { (erase ? m_fake.erasedViews : m_fake.paintedViews)++; }
        void InvalidateViewRect(const CRect& client, bool) override { m_fake.invalidatedRects.push_back(client); }
        void EndPageTextEditing() override
        {
            if (CSitePage* page = GetPage()) {
                page->SetEditingInPlace(false);
                page->SetEditedObject(nullptr);
            }
        }
        void RecordPageUndo(UndoKind kind) override { m_fake.viewUndoKinds.push_back(static_cast<int>(kind)); }

    private:
        SiteServicesFake& m_fake;
    };
    FakeView m_view{*this};
    SeamsInstalled<SiteServicesFake> m_installed{*this};
};
