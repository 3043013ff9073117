#include "Mask.h"

#include <algorithm>
#include <cmath>

namespace vireon::skin {

namespace {

float Clamp01(float v) {
    return std::clamp(v, 0.f, 1.f);
}

float RoundRectDistance(float px, float py, float x, float y, float w, float h, float r) {
    r = std::min(r, std::min(w, h) / 2);
    float cx = x + w / 2, cy = y + h / 2;
    float qx = std::fabs(px - cx) - (w / 2 - r);
    float qy = std::fabs(py - cy) - (h / 2 - r);
    float ox = std::max(qx, 0.f), oy = std::max(qy, 0.f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.f) - r;
}

float SegmentDistance(TPointF p, TPointF a, TPointF b) {
    float dx = b.x - a.x, dy = b.y - a.y;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? Clamp01(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2) : 0.f;
    float ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
    return std::sqrt(ex * ex + ey * ey);
}

template <typename Visit>
void ForEachSegment(const std::vector<TPolyline>& path, bool closeAll, Visit visit) {
    for (const TPolyline& line : path) {
        size_t n = line.points.size();
        for (size_t i = 0; i + 1 < n; ++i)
            visit(line.points[i], line.points[i + 1]);
        if ((line.closed || closeAll) && n > 2)
            visit(line.points[n - 1], line.points[0]);
    }
}

void PathBounds(const std::vector<TPolyline>& path, float grow, float& l, float& t, float& r, float& b) {
    l = t = 1e9f;
    r = b = -1e9f;
    for (const TPolyline& line : path)
        for (TPointF p : line.points) {
            l = std::min(l, p.x);
            t = std::min(t, p.y);
            r = std::max(r, p.x);
            b = std::max(b, p.y);
        }
    l -= grow;
    t -= grow;
    r += grow;
    b += grow;
}

} // namespace

void TMask::Unite(int x, int y, float coverage) {
    float& c = cover_[size_t(y) * width_ + x];
    c = std::max(c, coverage);
}

template <typename Coverage>
void TMask::Paint(float left, float top, float right, float bottom, Coverage coverage) {
    int x0 = std::max(0, int(std::floor(left)) - 1), y0 = std::max(0, int(std::floor(top)) - 1);
    int x1 = std::min(width_, int(std::ceil(right)) + 1), y1 = std::min(height_, int(std::ceil(bottom)) + 1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float c = coverage(TPointF{x + 0.5f, y + 0.5f});
            if (c > 0)
                Unite(x, y, c);
        }
}

template <typename Distance, typename Coverage>
void TMask::PaintConvex(float left, float top, float right, float bottom, Distance distance,
                        Coverage coverage, float inside, float insideCoverage) {
    int x0 = std::max(0, int(std::floor(left)) - 1), y0 = std::max(0, int(std::floor(top)) - 1);
    int x1 = std::min(width_, int(std::ceil(right)) + 1), y1 = std::min(height_, int(std::ceil(bottom)) + 1);
    // Computes one pixel; true when it lies in the inner run.
    auto edge = [&](int x, int y) {
        float d = distance(TPointF{x + 0.5f, y + 0.5f});
        if (d <= inside)
            return true;
        float c = coverage(d);
        if (c > 0)
            Unite(x, y, c);
        return false;
    };
    for (int y = y0; y < y1; ++y) {
        int first = x0;
        while (first < x1 && !edge(first, y))
            ++first;
        if (first == x1)
            continue;
        int last = x1 - 1;
        while (last > first && !edge(last, y))
            --last;
        for (int x = first; x <= last && insideCoverage > 0; ++x)
            Unite(x, y, insideCoverage);
    }
}

void TMask::RoundRect(float x, float y, float w, float h, float radius) {
    if (w <= 0 || h <= 0)
        return;
    PaintConvex(
        x, y, x + w, y + h, [&](TPointF p) { return RoundRectDistance(p.x, p.y, x, y, w, h, radius); },
        [](float d) { return Clamp01(0.5f - d); }, -0.5f, 1.f);
}

void TMask::RoundRectBorder(float x, float y, float w, float h, float radius, float width) {
    if (w <= 0 || h <= 0)
        return;
    // Deep inside, the ring covers nothing.
    PaintConvex(
        x, y, x + w, y + h, [&](TPointF p) { return RoundRectDistance(p.x, p.y, x, y, w, h, radius); },
        [&](float d) { return std::min(Clamp01(0.5f - d), Clamp01(0.5f + d + width)); }, -0.5f - width, 0.f);
}

void TMask::Circle(float cx, float cy, float r) {
    Paint(cx - r, cy - r, cx + r, cy + r,
          [&](TPointF p) { return Clamp01(0.5f - (std::hypot(p.x - cx, p.y - cy) - r)); });
}

void TMask::CircleOutline(float cx, float cy, float r, float width) {
    float g = r + width;
    Paint(cx - g, cy - g, cx + g, cy + g, [&](TPointF p) {
        return Clamp01(width / 2 + 0.5f - std::fabs(std::hypot(p.x - cx, p.y - cy) - r));
    });
}

void TMask::Stroke(const std::vector<TPolyline>& path, float width) {
    float l, t, r, b;
    PathBounds(path, width, l, t, r, b);
    Paint(l, t, r, b, [&](TPointF p) {
        float d = 1e9f;
        ForEachSegment(path, false, [&](TPointF a, TPointF e) { d = std::min(d, SegmentDistance(p, a, e)); });
        return Clamp01(width / 2 + 0.5f - d);
    });
}

void TMask::Fill(const std::vector<TPolyline>& path) {
    float l, t, r, b;
    PathBounds(path, 1, l, t, r, b);
    Paint(l, t, r, b, [&](TPointF p) {
        float d = 1e9f;
        int winding = 0;
        ForEachSegment(path, true, [&](TPointF a, TPointF e) {
            d = std::min(d, SegmentDistance(p, a, e));
            if (a.y <= p.y && e.y > p.y && (e.x - a.x) * (p.y - a.y) - (p.x - a.x) * (e.y - a.y) > 0)
                ++winding;
            else if (a.y > p.y && e.y <= p.y && (e.x - a.x) * (p.y - a.y) - (p.x - a.x) * (e.y - a.y) < 0)
                --winding;
        });
        return winding != 0 ? Clamp01(0.5f + d) : Clamp01(0.5f - d);
    });
}

TPolyline ArcPoints(float cx, float cy, float r, float fromDegrees, float toDegrees) {
    TPolyline line;
    int steps = std::max(2, int(std::fabs(toDegrees - fromDegrees) / 8));
    for (int i = 0; i <= steps; ++i) {
        float a = (fromDegrees + (toDegrees - fromDegrees) * i / steps) * 3.14159265f / 180;
        line.points.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return line;
}

} // namespace vireon::skin
