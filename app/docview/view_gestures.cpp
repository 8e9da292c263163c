#include "app/docview/view_gestures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "app/docview/view_geometry.h"
#include "app/docview/view_hit_test.h"
#include "app/site/site_geometry.h"

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// The first guide within the snap distance of an edge, or false.
bool NearGuide(const std::vector<int>& guides, int edge, int& guide)
{
    for (int g : guides)
        if (edge - kGuideSnapDistance <= g && g <= edge + kGuideSnapDistance) {
            guide = g;
            return true;
        }
    return false;
}

// How far an axis of a moved rectangle (low edge first, exclusive high edge) goes to lie beside a guide.
int SnapAxis(const std::vector<int>& guides, int low, int high)
{
    int guide = 0;
    if (NearGuide(guides, low, guide))
        return guide - low + 1;
    if (NearGuide(guides, high, guide))
        return guide - high;
    return 0;
}

struct Vec
{
    double x, y;
};

double Cross(const Vec& o, const Vec& a, const Vec& b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool SegmentsMeet(const Vec& a, const Vec& b, const Vec& c, const Vec& d)
{
    const double d1 = Cross(c, d, a), d2 = Cross(c, d, b), d3 = Cross(a, b, c), d4 = Cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
        return true;
    const auto onSegment = [](const Vec& p, const Vec& q, const Vec& r) {
        return std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) && std::min(p.y, q.y) <= r.y &&
               r.y <= std::max(p.y, q.y);
    };
    return (d1 == 0 && onSegment(c, d, a)) || (d2 == 0 && onSegment(c, d, b)) || (d3 == 0 && onSegment(a, b, c)) ||
           (d4 == 0 && onSegment(a, b, d));
}

// Even-odd inside test, as the outline's region is filled.
bool InsidePolygon(const std::array<Vec, 4>& polygon, const Vec& p)
{
    bool inside = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Vec& a = polygon[i];
        const Vec& b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

} // namespace

bool PassesMoveThreshold(const CPoint& press, const CPoint& point)
{
    return std::abs(point.x - press.x) >= kMoveThreshold || std::abs(point.y - press.y) >= kMoveThreshold;
}

CPoint SnapMoveToGuides(const std::vector<CRect>& rects, CPoint delta, const std::vector<int>& horizontalGuides,
                        const std::vector<int>& verticalGuides)
{
    for (const CRect& rect : rects) {
        delta.y += SnapAxis(horizontalGuides, rect.top + delta.y, rect.bottom + delta.y);
        delta.x += SnapAxis(verticalGuides, rect.left + delta.x, rect.right + delta.x);
    }
    return delta;
}

int ClampGuidePosition(int position, int extent)
{
    if (position >= -2 && position <= 2)
        return 0;
    if (position >= extent - 3 && position <= extent + 2)
        return extent - 1;
    return position;
}

bool IsGuideOffPage(int position, int extent)
{
    return position < 0 || position >= extent;
}

HandleChoice ChooseHandle(const DPOINT* handles, const CPoint& pt, bool canResize, bool canRotate)
{
    HandleChoice choice;
    if (!handles)
        return choice;
    if (canResize)
        for (int i : {1, 3, 4, 6})
            if (HitHandle(handles, i, pt)) {
                choice.action = HandleAction::Resize;
                choice.handle = i;
                choice.top = i == 1;
                choice.left = i == 3;
                choice.right = i == 4;
                choice.bottom = i == 6;
                return choice;
            }
    if (canRotate)
        for (int i : {0, 2, 5, 7})
            if (HitHandle(handles, i, pt)) {
                choice.action = HandleAction::Rotate;
                choice.handle = i;
                return choice;
            }
    return choice;
}

DPOINT HandleCentre(const DPOINT* handles)
{
    return DPOINT{(handles[0].x + handles[7].x) / 2, (handles[0].y + handles[7].y) / 2};
}

double PointAngle(const DPOINT& centre, const CPoint& pt)
{
    double angle = std::atan2(pt.y - centre.y, pt.x - centre.x);
    if (angle < 0)
        angle += kTwoPi;
    return angle;
}

CPoint ClampToPage(const CPoint& pt, const CSize& page)
{
    return CPoint(std::clamp(pt.x, 0, std::max(0, page.cx - 1)), std::clamp(pt.y, 0, std::max(0, page.cy - 1)));
}

int TextHeightForPointSize(int pointSize)
{
    // MulDiv: rounded to the nearest whole pixel.
    const long long scaled = static_cast<long long>(pointSize) * 96;
    return static_cast<int>(scaled >= 0 ? (scaled + 36) / 72 : (scaled - 36) / 72);
}

CRect TextBandAt(const CPoint& pt, int textHeight)
{
    return CRect(pt.x, pt.y, pt.x, pt.y + 6 + textHeight);
}

CRect TextObjectRect(const CRect& band, int textHeight)
{
    CRect rect = band;
    rect.NormalizeRect();
    if (rect.Width() < kMinTextBandWidth)
        rect.right = rect.left + kMinTextBandWidth;
    rect.bottom = rect.top + textHeight + 6;
    return rect;
}

CRect HtmlObjectRect(const CRect& band)
{
    CRect rect = band;
    rect.NormalizeRect();
    rect.right = rect.left + std::max(rect.Width(), kMinHtmlSize);
    rect.bottom = rect.top + std::max(rect.Height(), kMinHtmlSize);
    return rect;
}

PicturePlacement PlacePicture(const CRect& band, const CSize& picture)
{
    CRect rect = band;
    rect.NormalizeRect();
    PicturePlacement placement;
    if (rect.Width() < kMinPictureBand || rect.Height() < kMinPictureBand) {
        placement.size = picture;
        placement.centre = DPOINT{rect.left + picture.cx / 2.0, rect.top + picture.cy / 2.0};
    } else {
        placement.size = CSize(rect.Width(), rect.Height());
        placement.centre = DPOINT{(rect.left + rect.right) / 2.0, (rect.top + rect.bottom) / 2.0};
    }
    return placement;
}

bool IsLargerThanPage(const CSize& size, const CSize& page)
{
    return size.cx > page.cx || size.cy > page.cy;
}

PicturePlacement FitPictureToPage(const PicturePlacement& placement, const CSize& page, bool keepAspect)
{
    PicturePlacement fitted = placement;
    const DPOINT pageCentre{double(page.cx / 2), double(page.cy / 2)};
    if (!keepAspect) {
        if (fitted.size.cx > page.cx) {
            fitted.size.cx = page.cx;
            fitted.centre.x = pageCentre.x;
        }
        if (fitted.size.cy > page.cy) {
            fitted.size.cy = page.cy;
            fitted.centre.y = pageCentre.y;
        }
        return fitted;
    }
    if (placement.size.cx <= 0 || placement.size.cy <= 0)
        return fitted;
    const double rx = double(placement.size.cx) / page.cx, ry = double(placement.size.cy) / page.cy;
    if (rx >= ry)
        fitted.size = CSize(page.cx, static_cast<int>(placement.size.cy / rx));
    else
        fitted.size = CSize(static_cast<int>(placement.size.cx / ry), page.cy);
    fitted.centre = pageCentre;
    return fitted;
}

bool BandMeetsOutline(const CRect& band, const DPOINT* handles)
{
    CRect rect = band;
    rect.NormalizeRect();
    // A band of no area still covers the pixel it starts on.
    const double left = rect.left, top = rect.top, right = std::max(rect.right, rect.left + 1) - 0.5,
                 bottom = std::max(rect.bottom, rect.top + 1) - 0.5;
    const std::array<Vec, 4> outline = {Vec{double(TruncateToInt(handles[0].x)), double(TruncateToInt(handles[0].y))},
                                        Vec{double(TruncateToInt(handles[2].x)), double(TruncateToInt(handles[2].y))},
                                        Vec{double(TruncateToInt(handles[7].x)), double(TruncateToInt(handles[7].y))},
                                        Vec{double(TruncateToInt(handles[5].x)), double(TruncateToInt(handles[5].y))}};
    const std::array<Vec, 4> box = {Vec{left, top}, Vec{right, top}, Vec{right, bottom}, Vec{left, bottom}};
    for (const Vec& p : outline)
        if (p.x >= left && p.x <= right && p.y >= top && p.y <= bottom)
            return true;
    for (const Vec& p : box)
        if (InsidePolygon(outline, p))
            return true;
    for (size_t i = 0; i < 4; ++i)
        for (size_t j = 0; j < 4; ++j)
            if (SegmentsMeet(outline[i], outline[(i + 1) % 4], box[j], box[(j + 1) % 4]))
                return true;
    return false;
}

CColor EyedropperColor(const BYTE* pixel, const CColor& background)
{
    if (pixel[0] == 0)
        return background;
    return CColor(pixel[1], pixel[2], pixel[3]);
}

bool ComputeAutoScroll(const CPoint& pt, const CRect& visible, const CSize& client, const CSize& page,
                       AutoScroll& result)
{
    if (pt.x < 0 || pt.y < 0 || pt.x >= page.cx || pt.y >= page.cy || visible.PtInRect(pt))
        return false;
    CPoint scroll(visible.left, visible.top);
    CPoint pointer(pt.x - visible.left, pt.y - visible.top);
    if (pt.x < visible.left) {
        scroll.x = pt.x;
        pointer.x = 0;
    } else if (pt.x >= visible.right) {
        scroll.x = pt.x - client.cx + 1;
        pointer.x = client.cx - 1;
    }
    if (pt.y < visible.top) {
        scroll.y = pt.y;
        pointer.y = 0;
    } else if (pt.y >= visible.bottom) {
        scroll.y = pt.y - client.cy + 1;
        pointer.y = client.cy - 1;
    }
    result.scroll = ClampScrollPosition(scroll, client, page);
    result.pointer = pointer;
    return true;
}
