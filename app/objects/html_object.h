#pragma once

// A piece of HTML the page writer puts on the page as it stands, inside the object's positioned block: the user's
// own HTML or a Flash movie. Beside the code it keeps a name, code for the page's head and for the body's onload,
// and the files the code uses, which are published with the page. On the canvas it shows a patterned placeholder
// with a black frame and its name in the middle.

#include <memory>
#include <string>
#include <vector>

#include "app/objects/page_object.h"
#include "app/objects/placed_image.h"

class CHtmlObject : public CPlacedObject
{
public:
    // The placeholder's pattern, a 100 x 100 tile.
    static constexpr unsigned kPatternBitmap = 495;

    // From the HTML and Flash tools: the block's top-left corner and size.
    CHtmlObject(POINT topLeft, int width, int height);
    // From a centre; moved half a pixel left or up where the side is odd.
    CHtmlObject(double cx, double cy, int width, int height);
    // What the object factory makes before Load: at (0, 0), 10 x 10.
    static std::unique_ptr<CPageObject> Create();

    const std::string& GetName() const { return name; }
    void SetName(std::string text) { name = std::move(text); }
    const std::string& GetOnloadCode() const { return onloadCode; }
    void SetOnloadCode(std::string code) { onloadCode = std::move(code); }
    const std::string& GetHeaderHtml() const { return headerHtml; }
    void SetHeaderHtml(std::string code) { headerHtml = std::move(code); }
    const std::string& GetHtmlCode() const { return htmlCode; }
    void SetHtmlCode(std::string code) { htmlCode = std::move(code); }
    const std::vector<std::string>& GetUsedFiles() const { return usedFiles; }
    void SetUsedFiles(std::vector<std::string> files) { usedFiles = std::move(files); }
    // Set once the object's files have been placed among the site's files.
    BYTE GetPlacedFlag() const { return placedFlag; }
    void SetPlacedFlag(BYTE flag) { placedFlag = flag; }

    void BeginPlace() override { placing = 1; }
    void EndPlace() override { placing = 0; }
    void BeginTransform() override { moving = 1; }
    void EndTransform() override { moving = 0; }
    void BeginResize() override { resizing = 1; }
    void EndResize() override { resizing = 0; }

    void SetSize(int cx, int cy) override;
    void SetSize(const SIZE& size) override { SetSize(size.cx, size.cy); }
    bool CanResize() const override { return true; }
    void GetPixels(int x, int y, CPixMap& map, const CColor* background = nullptr) override;
    // Renders only once the design view has its drawing buffer; until then it answers false and stays dirty.
    bool UpdateImage(CPixMap& scratch) override;
    void OnPageDeleted(int) override {}
    void ClampPageLinks(int) override {}
    void ResetPageLinks() override {}
    void UpdateHandles() override;
    int GetKind() const override { return objectHtml; }
    // The bytes of the code and of the header HTML.
    int GetDownloadSize(double divisor) const override;
    void Save(CFile& file) const override;
    void Load(CFile& file, int major, int minor) override;
    std::unique_ptr<CPageObject> Clone() const override;
    std::unique_ptr<CPageObject> Duplicate() const override { return Clone(); }
    void CopyFrom(CPageObject& other) override;

private:
    bool IsStoredBlockSize(int blockWidth, int blockHeight) const;

    std::string name;
    BYTE placedFlag = 0;
    std::string onloadCode;
    std::string headerHtml;
    std::string htmlCode;
    std::vector<std::string> usedFiles;
    BYTE placing = 0;
    BYTE moving = 0;
    BYTE resizing = 0;
};
