// Anti-aliased shapes drawn as coverage masks: rounded rectangles, circles, arcs, stroked and filled
// paths. Coverage comes from the distance of each pixel centre to the shape's edge. Platform-free,
// so glyph drawing is also built and fuzzed on the host.
#pragma once

#include <cstddef>
#include <vector>

namespace vireon::skin {

struct TPointF {
    float x = 0;
    float y = 0;
};

// A sub-path: points joined by straight lines, optionally closed.
struct TPolyline {
    std::vector<TPointF> points;
    bool closed = false;
};

class TMask {
public:
    TMask(int width, int height) : width_(width), height_(height), cover_(size_t(width) * height, 0.f) {}
    int Width() const { return width_; }
    int Height() const { return height_; }
    float At(int x, int y) const { return cover_[size_t(y) * width_ + x]; }

    // Each shape is united with what the mask holds (the larger coverage wins).
    void RoundRect(float x, float y, float w, float h, float radius);
    // A ring of `width` along the inside of the rounded rectangle.
    void RoundRectBorder(float x, float y, float w, float h, float radius, float width);
    void Circle(float cx, float cy, float r);
    void CircleOutline(float cx, float cy, float r, float width);
    void Stroke(const std::vector<TPolyline>& path, float width);
    // Non-zero winding fill of the closed sub-paths.
    void Fill(const std::vector<TPolyline>& path);

private:
    void Unite(int x, int y, float coverage);
    template <typename Coverage>
    void Paint(float left, float top, float right, float bottom, Coverage coverage);
    // For a shape given by a convex distance function (negative inside): pixels whose distance is
    // at most `inside` all have the coverage `insideCoverage`, and they form one run per row, so
    // each row is computed from both ends only up to that run.
    template <typename Distance, typename Coverage>
    void PaintConvex(float left, float top, float right, float bottom, Distance distance, Coverage coverage,
                     float inside, float insideCoverage);

    int width_;
    int height_;
    std::vector<float> cover_;
};

// Points of an arc (degrees, clockwise from the positive x axis on screen).
TPolyline ArcPoints(float cx, float cy, float r, float fromDegrees, float toDegrees);

} // namespace vireon::skin
