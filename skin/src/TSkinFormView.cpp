#include "TSkinFormView.h"

#include <algorithm>

namespace vireon::skin {

TSkinFormView::TSkinFormView(std::shared_ptr<const TSkinData> data, const TFormDef& form, bool menuBar)
    : data_(std::move(data)), form_(&form), menuBar_(menuBar), width_(form.width), height_(form.height) {
    objects_.resize(form.objects.size());
    for (size_t i = 0; i < objects_.size(); ++i) {
        TObjectState& o = objects_[i];
        o.def = &form.objects[i];
        o.rect = o.def->rect;
        o.visible = o.def->visible;
        o.max = o.def->max;
        o.text = o.def->text;
    }
    surface_ = TSurface(width_, height_);
    background_ = RenderBackground(width_, height_);
    Render({0, 0, width_, height_});
}

RECT TSkinFormView::ClientRect() const {
    const TSkinFrame& f = form_->frame;
    return {f.Left, f.Top + (menuBar_ ? kMenuBarHeight : 0), std::max<LONG>(f.Left, width_ - f.Right),
            std::max<LONG>(f.Top, height_ - f.Bottom)};
}

RECT TSkinFormView::MenuBarRect() const {
    if (!menuBar_)
        return {};
    const TSkinFrame& f = form_->frame;
    return {f.Left, f.Top, width_ - f.Right, f.Top + kMenuBarHeight};
}

namespace {

void MoveEdges(RECT& r, const TAnchors& a, int dx, int dy) {
    if (a.right) {
        r.right += dx;
        if (!a.left)
            r.left += dx;
    }
    if (a.bottom) {
        r.bottom += dy;
        if (!a.top)
            r.top += dy;
    }
}

} // namespace

void TSkinFormView::Resize(int width, int height) {
    if (width == width_ && height == height_)
        return;
    // Made before anything changes: a size the form cannot draw leaves it as it was.
    TSurface surface(std::max(1, width), std::max(1, height));
    TPixmap background = RenderBackground(width, height);
    int dx = width - width_, dy = height - height_;
    for (TObjectState& o : objects_)
        MoveEdges(o.rect, o.def->anchors, dx, dy);
    width_ = width;
    height_ = height;
    surface_ = std::move(surface);
    background_ = std::move(background);
    Render({0, 0, width_, height_});
}

TPixmap TSkinFormView::RenderBackground(int width, int height) const {
    TPixmap background(std::max(1, width), std::max(1, height));
    TObjectDef box;
    box.fill = form_->fill;
    box.fill2 = form_->fill2;
    box.border = form_->outline;
    background.Fill(background.Bounds(), Premultiply(form_->fill));
    background.Blend(background.Bounds(), RenderPanel(box, width, height), {0, 0});
    return background;
}

int TSkinFormView::Find(const std::wstring& name) const {
    for (size_t i = 0; i < objects_.size(); ++i)
        if (SameName(objects_[i].def->name, name))
            return int(i);
    return -1;
}

int TSkinFormView::HitObject(POINT point) const {
    for (size_t i = objects_.size(); i-- > 0;)
        if (objects_[i].visible && PtInRect(&objects_[i].rect, point))
            return int(i);
    return -1;
}

bool TSkinFormView::InDragArea(POINT point) const {
    int dx = width_ - form_->width, dy = height_ - form_->height;
    for (const TDragArea& area : form_->drag) {
        RECT r = area.rect;
        MoveEdges(r, area.anchors, dx, dy);
        if (PtInRect(&r, point))
            return true;
    }
    return false;
}

RECT TSkinFormView::Bounds(size_t index) const {
    return objects_[index].rect;
}

const TPixmap& TSkinFormView::Picture(TObjectState& o, TButtonStateIndex state) {
    SIZE size{o.rect.right - o.rect.left, o.rect.bottom - o.rect.top};
    if (size.cx != o.cacheSize.cx || size.cy != o.cacheSize.cy) {
        for (TPixmap& p : o.cache)
            p = TPixmap();
        o.cacheSize = size;
    }
    TPixmap& picture = o.cache[state];
    if (picture.Empty() && size.cx > 0 && size.cy > 0)
        picture = o.def->kind == TObjectKind::Button ? RenderButton(*o.def, size.cx, size.cy, state)
                                                     : RenderPanel(*o.def, size.cx, size.cy);
    return picture;
}

void TSkinFormView::DrawObject(TObjectState& o, const RECT& clip) {
    RECT area = o.rect;
    if (!ClipRect(area, clip))
        return;
    POINT origin{area.left - o.rect.left, area.top - o.rect.top};
    TPixmap& target = surface_.Pixels();
    switch (o.def->kind) {
    case TObjectKind::Button: {
        TButtonStateIndex state = o.disabled             ? bsDisabled
                                  : o.pressed && o.hover ? bsPressed
                                  : o.hover || o.pressed ? bsHover
                                                         : bsNormal;
        target.Blend(area, Picture(o, state), origin);
        break;
    }
    case TObjectKind::ScrollBar:
        target.Blend(area,
                     RenderScrollBar(*o.def, o.rect.right - o.rect.left, o.rect.bottom - o.rect.top, o.pos,
                                     o.max, o.hover || o.pressed),
                     origin);
        break;
    case TObjectKind::Panel:
    case TObjectKind::Static:
        target.Blend(area, Picture(o, bsNormal), origin);
        if (o.def->kind == TObjectKind::Static)
            DrawStaticText(surface_.DC(), o.rect, area, *o.def, o.text, fonts_);
        break;
    }
}

void TSkinFormView::DrawMenuBar(const RECT& clip) {
    RECT bar = MenuBarRect();
    RECT area = bar;
    if (!ClipRect(area, clip))
        return;
    const TMenuLook& look = form_->menu;
    TPixmap& target = surface_.Pixels();
    target.Fill(area, Premultiply(look.barFill));
    HDC dc = surface_.DC();
    int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    SelectObject(dc, fonts_.Get(look.font, look.fontSize, false, false));
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < menuItems_.size(); ++i) {
        TMenuBarItem& item = menuItems_[i];
        bool hot = int(i) == menuHot_;
        if (hot) {
            TObjectDef box;
            box.fill = box.fill2 = look.hotFill;
            box.radius = 4;
            RECT r = item.rect;
            InflateRect(&r, 0, -1);
            RECT part = r;
            if (ClipRect(part, area))
                target.Blend(part, RenderPanel(box, r.right - r.left, r.bottom - r.top),
                             {part.left - r.left, part.top - r.top});
        }
        SetTextColor(dc, ToColorRef(!item.enabled ? look.disabledText : hot ? look.hotText : look.barText));
        RECT r = item.rect;
        DrawTextW(dc, item.shown.c_str(), int(item.shown.size()), &r,
                  DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    RestoreDC(dc, saved);
}

void TSkinFormView::Render(const RECT& dirty) {
    RECT clip = dirty;
    if (!ClipRect(clip, {0, 0, width_, height_}))
        return;
    surface_.Pixels().Copy(clip, background_, {clip.left, clip.top});
    DrawMenuBar(clip);
    for (TObjectState& o : objects_)
        if (o.visible)
            DrawObject(o, clip);
}

} // namespace vireon::skin
