#pragma once

// The fill of an outline object: a solid colour, a texture picture file, a gradient, nothing, or a picture that
// the fill itself owns. It keeps the image that drawing needs (the loaded texture, the rendered gradient or the
// owned picture) and knows when that image must be made again.

#include <memory>
#include <string>

#include "app/model/gradient_info.h"
#include "image/image.h"
#include "platform/win/file.h"
#include "platform/win/win_types.h"

class CFillInfo
{
public:
    static constexpr DWORD kTag = 0x13F76B98;

    enum Kind
    {
        FILL_COLOR = 0,
        FILL_TEXTURE = 1,  // a picture file, loaded on demand
        FILL_GRADIENT = 2, // rendered on demand at the object's size
        FILL_NONE = 3,     // text objects: their characters keep their own colours
        FILL_PICTURE = 4,  // the image is the only copy of the picture
    };

    // A solid fill in the tools bar's current colour (black while there is no tools bar).
    CFillInfo();
    // Kind, colour, path, gradient and the animated flag; a fill's own picture is copied, every other image is
    // left to be made again.
    CFillInfo(const CFillInfo& other);
    CFillInfo& operator=(const CFillInfo& other);
    ~CFillInfo();

    std::unique_ptr<CFillInfo> Clone() const { return std::make_unique<CFillInfo>(*this); }

    void SetColor(const CColor& color);
    void SetImageFile(const std::string& path);
    // Takes an image already loaded from path.
    void SetTextureFileAndImage(const std::string& path, std::unique_ptr<CImage> image);
    void SetGradient(const CGradientInfo& gradient);
    void SetNone();
    // Takes the picture that the fill will own.
    void SetPicture(std::unique_ptr<CImage> picture);
    // Drops the image of a texture or gradient so that it is made again before use; an owned picture stays.
    void InvalidateImage();

    int GetKind() const { return m_kind; }
    const CColor& GetColor() const { return m_color; }
    std::string GetImageFile() const { return m_strPath; }
    const CGradientInfo& GetGradient() const { return m_gradient; }
    // The image that drawing uses; null until UpdateImage made it (and for colour and no fill).
    CImage* GetImage() const { return m_pImage.get(); }
    bool NeedsRender() const { return m_renderAgain; }
    // The object's geometry changed: UpdateImage makes the image again (a loaded texture is kept).
    void SetRenderAgain() { m_renderAgain = true; }

    // Set when the placed picture is an animated GIF; the Fill palette offers no changes while it is set.
    bool IsAnimated() const { return m_animated; }
    void SetAnimated(bool animated) { m_animated = animated; }

    // Kinds must match; colours compare as COLORREF, textures by path, gradients as gradients. Two owned pictures
    // are never equal, not even a fill to itself, so that an edit always records a change.
    bool operator==(const CFillInfo& other) const;
    bool operator!=(const CFillInfo& other) const { return !(*this == other); }

    // Makes the image current for an object of the given size. 0 when it is (or needs none); for a texture that
    // cannot be loaded the loader's IOError (1 to 4), the path kept to try again next time; 4 when a gradient
    // image cannot be made.
    int UpdateImage(const SIZE& size);

    // Tag, kind, the kind's data (colour, site-relative path, gradient or picture) and the animated flag.
    void Write(CFile& file) const;
    // Bad tag, kind, picture size or mode, string length, or data shorter than it claims raise the file
    // exception. Files before 1.5 have no animated flag.
    void Read(CFile& file, int major, int minor);

private:
    void DropImage() { m_pImage.reset(); }

    int m_kind = FILL_COLOR;
    CColor m_color;
    std::unique_ptr<CImage> m_pImage;
    std::string m_strPath;
    CGradientInfo m_gradient;
    bool m_animated = false;
    bool m_renderAgain = true;
};
