#include "Glyph.h"

#include <algorithm>
#include <cmath>

namespace vireon::skin {

namespace {

// The shape's box in glyph units: left, top, right, bottom.
struct TBox {
    float l = 0, t = 0, r = 0, b = 0;
};

TBox OpBox(const TGlyphOp& op) {
    const float* v = op.values;
    switch (op.kind) {
    case TGlyphOp::Kind::Circle:
        return {v[0] - v[2], v[1] - v[2], v[0] + v[2], v[1] + v[2]};
    case TGlyphOp::Kind::Ring: {
        float g = std::fabs(v[2]) + std::fabs(v[3]);
        return {v[0] - g, v[1] - g, v[0] + g, v[1] + g};
    }
    case TGlyphOp::Kind::Rect:
        return {v[0], v[1], v[0] + v[2], v[1] + v[3]};
    default:
        break;
    }
    TBox box{1e9f, 1e9f, -1e9f, -1e9f};
    for (const TPolyline& line : op.path)
        for (TPointF p : line.points)
            box = {std::min(box.l, p.x), std::min(box.t, p.y), std::max(box.r, p.x), std::max(box.b, p.y)};
    float grow = op.kind == TGlyphOp::Kind::Stroke ? op.width : 1;
    return {box.l - grow, box.t - grow, box.r + grow, box.b + grow};
}

} // namespace

int OpPoints(const TGlyphOp& op) {
    int points = 0;
    for (const TPolyline& line : op.path)
        points += int(line.points.size()) + (line.closed ? 1 : 0);
    return std::max(points, 1);
}

double GlyphWork(const TGlyph& glyph, int size) {
    double scale = double(size) / glyph.size, work = 0;
    for (const TGlyphOp& op : glyph.ops) {
        TBox box = OpBox(op);
        // Drawing visits the box and a pixel around it.
        double w = std::max(0.0, double(box.r - box.l) * scale) + 3;
        double h = std::max(0.0, double(box.b - box.t) * scale) + 3;
        work += double(OpPoints(op)) * w * h;
    }
    return work;
}

TMask GlyphMask(const TGlyph& glyph, int width, int height, int size, int offset) {
    TMask mask(width, height);
    float scale = float(size) / glyph.size;
    float ox = std::floor((width - size) / 2.f), oy = std::floor((height - size) / 2.f) + offset;
    auto map = [&](std::vector<TPolyline> path) {
        for (TPolyline& line : path)
            for (TPointF& p : line.points)
                p = {ox + p.x * scale, oy + p.y * scale};
        return path;
    };
    for (const TGlyphOp& op : glyph.ops) {
        const float* v = op.values;
        switch (op.kind) {
        case TGlyphOp::Kind::Stroke:
            mask.Stroke(map(op.path), op.width * scale);
            break;
        case TGlyphOp::Kind::Fill:
            mask.Fill(map(op.path));
            break;
        case TGlyphOp::Kind::Circle:
            mask.Circle(ox + v[0] * scale, oy + v[1] * scale, v[2] * scale);
            break;
        case TGlyphOp::Kind::Ring:
            mask.CircleOutline(ox + v[0] * scale, oy + v[1] * scale, v[2] * scale, v[3] * scale);
            break;
        case TGlyphOp::Kind::Rect:
            mask.RoundRect(ox + v[0] * scale, oy + v[1] * scale, v[2] * scale, v[3] * scale, v[4] * scale);
            break;
        }
    }
    return mask;
}

} // namespace vireon::skin
