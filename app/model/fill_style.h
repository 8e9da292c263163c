#pragma once

// The background of a page and, held by the site, the default background that new pages copy: a solid colour, a
// picture file (tiled, or placed once at one of nine positions) or a gradient running across or up the page,
// with the size of the page it covers. It keeps the image it paints from (the loaded picture or a one-pixel
// gradient strip) as a cache that can be dropped at any time and made again.

#include <memory>
#include <string>

#include "app/model/gradient_info.h"
#include "app/model/page_size.h"
#include "image/image.h"
#include "platform/win/file.h"
#include "platform/win/win_types.h"

class CFillStyle
{
public:
    static constexpr DWORD kTag = 0xB8629B77;

    enum Kind
    {
        FILL_COLOR = 0,
        FILL_IMAGE = 1,    // a picture file, loaded on demand
        FILL_GRADIENT = 2, // rendered on demand as a strip across or up the page
    };

    // Solid white; tiled; position unset (-1); predefined gradient 0 running across the page; size unset (-1).
    CFillStyle();
    // Every field but the image, which the copy makes again when it is first used.
    CFillStyle(const CFillStyle& other);
    CFillStyle& operator=(const CFillStyle& other);
    ~CFillStyle();

    std::unique_ptr<CFillStyle> Clone() const { return std::make_unique<CFillStyle>(*this); }

    // Kind, colour (as COLORREF), the image itself (not its pixels), path, tile, gradient, direction, size and
    // position must all be equal.
    bool operator==(const CFillStyle& other) const;
    bool operator!=(const CFillStyle& other) const { return !(*this == other); }

    void SetColor(const CColor& color);
    void SetImageFile(const std::string& path);
    // Takes an image already loaded from path; without one the picture is loaded when it is next needed.
    void SetImageFileAndImage(const std::string& path, std::unique_ptr<CImage> image);
    // Makes the background a gradient, taking the colours when given (else keeping the present ones).
    void SetGradient(const GRADIENTCOLORS* colors);
    // Takes start, end, stops and predefined index; the kind and the angle stay.
    void SetGradientColors(const GRADIENTCOLORS& colors);
    // Across the page (angle 0, start colour at the left) or up it (angle 90, start colour at the bottom).
    void SetGradientHorizontal(bool horizontal);
    void SetTile(bool tile);
    // Places the picture once on the 3 x 3 grid (row = position / 3, column = position % 3); any value outside
    // 0..8 gives the centre, 4. Clears the tile flag.
    void SetImagePosition(int position);
    int GetImagePosition() const { return m_nPosition; }
    void SetWidth(int width);
    void SetHeight(int height);
    // The kind alone: the image and the render state stay as they are.
    void SetKind(int kind) { m_kind = kind; }
    void ClearImageFile() { m_strPath.clear(); }
    // Drops the image so that it is made again before use.
    void InvalidateImage();

    int GetKind() const { return m_kind; }
    const CColor& GetColor() const { return m_color; }
    std::string GetImageFile() const { return m_strPath; }
    bool IsTile() const { return m_tile; }
    bool IsGradientHorizontal() const { return m_horizontal; }
    const CGradientInfo& GetGradient() const { return m_gradient; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    // The loaded picture or the rendered strip; null until LoadFillImage made it.
    CImage* GetImage() const { return m_pImage.get(); }
    // Whether the image must be loaded or rendered before the background can be drawn as it is meant.
    bool NeedsRender() const { return m_renderAgain; }

    // The bytes the picture or gradient adds to the page's download, for the status bar's estimate: image width x
    // height / factor, truncated; 0 without an image.
    int EstimateImageBytes(double factor) const;

    // Makes the image current: renders the gradient strip, or loads the picture, looking for a missing one in the
    // site's replacements and its built web folder and, failing those, asking the user for another picture or a
    // solid colour. True when the background can be drawn as it is; false leaves it to be tried again while it
    // paints its colour.
    bool LoadFillImage();

    // Paints rect (page coordinates) into buffer, whose origin is the rectangle's top left, 4 bytes a pixel
    // (alpha, red, green, blue) and stride bytes a row. Every pixel comes out opaque. scratch is a work map of
    // mode 0x80000003, interleaved; its width and height are changed while painting and set back.
    void Render(const RECT& rect, BYTE* buffer, int stride, CPixMap& scratch, int pageWidth, int pageHeight) const;

    // Tag, kind, page width and height, then the kind's data: the colour; the site-relative path, tile flag and
    // position; or the gradient and direction.
    void Write(CFile& file) const;
    // A bad tag, kind, page size or string length, or a record cut short, raises the file exception. Files
    // before minor version 12 hold no position: their pictures are centred.
    void Read(CFile& file, int major, int minor);

private:
    bool RenderGradientStrip();
    bool LoadPicture();

    int m_kind = FILL_COLOR;
    CColor m_color;
    std::unique_ptr<CImage> m_pImage;
    std::string m_strPath;
    bool m_tile = true;
    int m_nPosition = -1;
    CGradientInfo m_gradient;
    bool m_horizontal = true;
    bool m_renderAgain = true;
    int m_nWidth = -1;
    int m_nHeight = -1;
    // Set while the user is asked about this background's picture, so that a repaint meanwhile paints the
    // colour rather than asking again.
    bool m_asking = false;
};
