#pragma once

// What the publisher asks of the program around it: its dialogs and progress windows, the page and object a build
// stopped at, Save As for a site never saved, the editor for the transfer log, and the record of the pages changed
// since the last upload. Every function is pure, so a program that leaves one unanswered does not build; until the
// program installs its host (and in headless use) NullPublishHost answers as cancelled dialogs and absent windows
// do, and tests derive their scripted hosts from it.

#include <memory>
#include <string>

#include "app/model/dialog_answer.h"

class BuildProgress;
class CChangedPages;
class CFtp;
class CPageItem;
class CSitePage;
class CUploadProgress;

// The missing-document dialog: the caller sets the missing path; after the dialog the browse flag tells whether the
// user chose Browse, and the replacement path holds the file chosen there (empty when the search was cancelled).
struct MissingDocumentDialog
{
    std::string m_missingPath;
    std::string m_replacementPath;
    bool m_browsed = false;
};

// Where the Internet setup dialog puts the focus: on nothing, the server or the user name.
enum class SetupFocus
{
    none,
    server,
    userName,
};

class PublishHost
{
public:
    virtual ~PublishHost() = default;

    // The publisher's small dialogs by their number (PublishDialog): the prompts 413 (the Internet setup is
    // incomplete), 416 and 5015 (save the site before sending it) and the notices 468 to 478 and 5011.
    virtual DialogAnswer ShowPublishDialog(int id) = 0;
    // The Internet setup dialog (407); ok when the user ended it with OK.
    virtual DialogAnswer RunInternetSetupDialog(SetupFocus focus) = 0;
    // A document that a page links to does not exist (dialog 498).
    virtual DialogAnswer ShowMissingDocumentDialog(MissingDocumentDialog& dialog) = 0;
    // The site could not be built (dialog 375): the page it stopped on (empty for none) and why.
    virtual void ShowBuildErrorDialog(const std::string& pageName, const std::string& message) = 0;
    // Opens the page's window and makes the item its only selection, recording the selection for undo; a user
    // group holding the item is taken apart so that the item alone is selected.
    virtual void ShowItemOnPage(CSitePage* page, CPageItem* item) = 0;
    // Offers to save the current site under a new name, as File > Save As does (after the save-before-send prompt).
    virtual void SaveSiteAs() = 0;
    // Opens a text file in the user's editor.
    virtual void OpenFileForEditing(const std::string& path) = 0;

    // The build's progress dialog (374) for the site build about to run, with every other window of the program
    // disabled until it goes; the builder reports into it and polls its Cancel. Null where nothing shows it.
    virtual std::shared_ptr<BuildProgress> ShowBuildProgress() = 0;
    // Shows the upload progress dialog over progress, whose Cancel drops connection; null progress closes it.
    virtual void ShowUploadProgress(CUploadProgress* progress, CFtp* connection) = 0;
    // Repaints the upload progress dialog and lets the windows take their input (its Cancel button among them);
    // with pauseMs, keeps a new status line on screen that long first.
    virtual void UpdateUploadProgress(int pauseMs) = 0;
    // The notice saying that a connection is being made (5003): shown with true while the attempt runs, closed
    // with false.
    virtual void ShowConnectingNotice(bool show) = 0;
    // The main window's record of the pages changed since the last upload; null without a main window.
    virtual CChangedPages* GetChangedPages() = 0;
};

// The host before start-up and in headless use: every dialog is cancelled, no window shows, nothing is recorded.
class NullPublishHost : public PublishHost
{
public:
    DialogAnswer ShowPublishDialog(int) override { return DialogAnswer::cancel; }
    DialogAnswer RunInternetSetupDialog(SetupFocus) override { return DialogAnswer::cancel; }
    DialogAnswer ShowMissingDocumentDialog(MissingDocumentDialog&) override { return DialogAnswer::cancel; }
    void ShowBuildErrorDialog(const std::string&, const std::string&) override {}
    void ShowItemOnPage(CSitePage*, CPageItem*) override {}
    void SaveSiteAs() override {}
    void OpenFileForEditing(const std::string&) override {}
    std::shared_ptr<BuildProgress> ShowBuildProgress() override { return nullptr; }
    void ShowUploadProgress(CUploadProgress*, CFtp*) override {}
    void UpdateUploadProgress(int) override {}
    void ShowConnectingNotice(bool) override {}
    CChangedPages* GetChangedPages() override { return nullptr; }
};

// Installs the program's host; the caller keeps ownership and must keep it alive while installed. Null puts back
// the null host.
void SetPublishHost(PublishHost* host);
PublishHost& GetPublishHost();
// Installs host as SetPublishHost does and hands back what answered before, so that a scope can put it back
// (seams_test_support.h does so for every seam).
PublishHost* ExchangeSeam(PublishHost* host);
