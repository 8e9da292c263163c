#pragma once

// Test support: a page object of any kind with plain geometry (centre, size, rotation, a box around the turned
// corners) and a flat image of one colour. It counts its renders and its live instances, and stores itself
// behind the class tag of its kind, so that items of counters and forms can be written and read back.

#include <algorithm>
#include <cmath>
#include <memory>

#include "app/model/record_stream.h"
#include "app/objects/object_factory.h"
#include "app/objects/page_object.h"

class FakeObject : public CPageObject
{
public:
    static inline int live = 0;

    FakeObject(int kind, double x, double y, SIZE size, double rotation = 0.0)
        : m_kind(kind), m_x(x), m_y(y), m_size(size), m_rotation(rotation)
    {
        ++live;
        UpdateHandles();
    }
    ~FakeObject() override { --live; }

    int renders = 0;
    // The colour and alpha of every pixel of the image.
    BYTE alpha = 255, red = 200, green = 40, blue = 40;
    SIZE minSize{1, 1}, maxSize{2000, 2000};

    DPOINT& GetCenter(DPOINT& center) const override
    {
        center = DPOINT{m_x, m_y};
        return center;
    }
    void SetCenter(const DPOINT& center) override
    {
        m_x = center.x;
        m_y = center.y;
        Changed();
    }
    void MoveBy(int dx, int dy) override
    {
        m_x += dx;
        m_y += dy;
        Changed();
    }
    SIZE& GetSize(SIZE& size) const override
    {
        size = m_size;
        return size;
    }
    void SetSize(int cx, int cy) override
    {
        m_size = SIZE{cx, cy};
        Changed();
    }
    double GetRotation() const override { return m_rotation; }
    void SetRotation(double rotation) override
    {
        m_rotation = rotation;
        Changed();
    }
    SIZE& GetMinSize(SIZE& size) const override { return size = minSize; }
    SIZE& GetMaxSize(SIZE& size) const override { return size = maxSize; }
    bool CanResize() const override { return true; }
    bool CanRotate() const override { return true; }

    bool UpdateImage(CPixMap&) override
    {
        if (!dirty)
            return true;
        ++renders;
        CRect box(bounds);
        image = std::make_unique<CImage>(IMAGE_MODE_RGBA, std::max(box.Width(), 1), std::max(box.Height(), 1));
        CPixMap map(IMAGE_MODE_RGBA, image->Width(), image->Height());
        for (int y = 0; y < map.height; ++y)
            for (int x = 0; x < map.width; ++x) {
                BYTE* p = map.Sample(x, y, 0);
                p[0] = alpha, p[1] = red, p[2] = green, p[3] = blue;
            }
        image->SetBuf(0, 0, map);
        dirty = 0;
        return true;
    }
    void GetPixels(int x, int y, CPixMap& map, const CColor*) override
    {
        if (image)
            image->GetBuf(x, y, map, MASK_NONE);
    }
    RECT& GetPaintRect(RECT& rect) const override
    {
        CRect paint(bounds);
        paint.InflateRect(3, 3);
        return rect = paint;
    }
    // The last page deletion passed on; -1 before any.
    int deletedPage = -1;
    void OnPageDeleted(int page) override { deletedPage = page; }
    void FreeCaches() override
    {
        image.reset();
        dirty = 1;
    }
    void ClampPageLinks(int) override {}
    void ResetPageLinks() override {}
    // The handles of the turned box and the bounds around them, with the offset.
    void UpdateHandles() override
    {
        const double w = m_size.cx / 2.0, h = m_size.cy / 2.0;
        const DPOINT upright[kHandleCount] = {{-w, -h}, {0, -h}, {w, -h}, {-w, 0}, {w, 0}, {-w, h}, {0, h}, {w, h}};
        const double c = std::cos(-m_rotation), s = std::sin(-m_rotation);
        double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
        for (int i = 0; i < kHandleCount; ++i) {
            handles[i] = DPOINT{m_x + upright[i].x * c - upright[i].y * s + offsetX,
                                m_y + upright[i].x * s + upright[i].y * c + offsetY};
            minX = std::min(minX, handles[i].x), maxX = std::max(maxX, handles[i].x);
            minY = std::min(minY, handles[i].y), maxY = std::max(maxY, handles[i].y);
        }
        bounds = CRect(int(std::floor(minX)), int(std::floor(minY)), int(std::ceil(maxX)), int(std::ceil(maxY)));
    }
    int GetKind() const override { return m_kind; }
    int GetDownloadSize(double) const override { return m_size.cx * m_size.cy; }

    static DWORD TagOf(int kind) { return kind == objectForm ? kFormObjectTag : kCounterObjectTag; }
    void Save(CFile& file) const override
    {
        WriteUInt32(file, TagOf(m_kind));
        WriteDouble(file, m_x);
        WriteDouble(file, m_y);
        WriteInt32(file, m_size.cx);
        WriteInt32(file, m_size.cy);
    }
    void Load(CFile& file, int, int) override
    {
        m_x = ReadDouble(file);
        m_y = ReadDouble(file);
        m_size.cx = ReadInt32(file);
        m_size.cy = ReadInt32(file);
        Changed();
    }
    std::unique_ptr<CPageObject> Clone() const override { return Duplicate(); }
    std::unique_ptr<CPageObject> Duplicate() const override
    {
        return std::make_unique<FakeObject>(m_kind, m_x, m_y, m_size, m_rotation);
    }
    void CopyFrom(CPageObject&) override {}

    static std::unique_ptr<CPageObject> CreateCounter()
    {
        return std::make_unique<FakeObject>(objectCounter, 0, 0, SIZE{2, 2});
    }
    static std::unique_ptr<CPageObject> CreateForm()
    {
        return std::make_unique<FakeObject>(objectForm, 0, 0, SIZE{2, 2});
    }

private:
    void Changed()
    {
        UpdateHandles();
        SetDirty();
    }

    int m_kind;
    double m_x, m_y;
    SIZE m_size;
    double m_rotation;
};

// While it lives, the factory reads counters and forms as fakes.
class FakeCreators
{
public:
    FakeCreators()
        : m_counter(SetPageObjectCreator(kCounterObjectTag, &FakeObject::CreateCounter)),
          m_form(SetPageObjectCreator(kFormObjectTag, &FakeObject::CreateForm))
    {
    }
    ~FakeCreators()
    {
        SetPageObjectCreator(kCounterObjectTag, m_counter);
        SetPageObjectCreator(kFormObjectTag, m_form);
    }
    FakeCreators(const FakeCreators&) = delete;
    FakeCreators& operator=(const FakeCreators&) = delete;

private:
    PageObjectCreator m_counter;
    PageObjectCreator m_form;
};

inline std::unique_ptr<FakeObject> MakeFake(int kind, double x, double y, int w, int h, double rotation = 0.0)
{
    return std::make_unique<FakeObject>(kind, x, y, SIZE{w, h}, rotation);
}
