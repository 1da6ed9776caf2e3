#include "platform/PrintLayout.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace trv::PrintLayout {

PageFit choose(const PrintDocument& document, int portraitWidth, int portraitHeight) {
    const int needed = document.contentWidth();
    if (document.orientation == PageOrientation::Portrait && needed <= portraitWidth) {
        return {PageOrientation::Portrait, 1.0};
    }
    const int landscapeWidth = portraitHeight;
    if (needed <= landscapeWidth || needed <= 0) {
        return {PageOrientation::Landscape, 1.0};
    }
    // Rounded down so that the scaled line never ends a hair past the edge.
    return {PageOrientation::Landscape, std::floor(1000.0 * landscapeWidth / needed) / 1000.0};
}

namespace {

// Everything on the pages of one run of flowing pages, in one long vertical coordinate.
struct Item {
    enum Kind { Run, Rule, Picture } kind;
    int top;
    int bottom;
    PrintRun run;
    PrintRule rule;
    PrintPicture picture;
};

int scaled(int v, double scale) {
    return qRound(v * scale);
}

std::vector<Item> flowItems(const std::vector<const PrintPage*>& pages, double scale) {
    std::vector<Item> items;
    int offset = 0;
    for (const PrintPage* page : pages) {
        for (PrintRun run : page->runs) {
            run.x = scaled(run.x, scale);
            run.y = scaled(run.y + offset, scale);
            run.font.size *= scale;
            const int top = run.y;
            const int bottom = run.y + run.height();
            items.push_back(Item{Item::Run, top, bottom, std::move(run), {}, {}});
        }
        for (PrintRule rule : page->rules) {
            rule.x1 = scaled(rule.x1, scale);
            rule.x2 = scaled(rule.x2, scale);
            rule.y1 = scaled(rule.y1 + offset, scale);
            rule.y2 = scaled(rule.y2 + offset, scale);
            items.push_back(Item{Item::Rule, std::min(rule.y1, rule.y2), std::max(rule.y1, rule.y2), {}, rule, {}});
        }
        for (PrintPicture picture : page->pictures) {
            picture.x = scaled(picture.x, scale);
            picture.y = scaled(picture.y + offset, scale);
            picture.width = scaled(picture.width, scale);
            picture.height = scaled(picture.height, scale);
            const int top = picture.y;
            const int bottom = picture.y + picture.height;
            items.push_back(Item{Item::Picture, top, bottom, {}, {}, std::move(picture)});
        }
        offset += page->contentBottom();
    }
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.top < b.top; });
    return items;
}

void breakIntoPages(std::vector<Item> items, int pageHeight, std::vector<PrintPage>& out) {
    PrintPage* page = &out.emplace_back();
    int pageTop = 0;
    for (Item& item : items) {
        // Items that start on the same height go together, so a line is never split across pages.
        if (item.bottom - pageTop > pageHeight && item.top > pageTop) {
            page = &out.emplace_back();
            page->continued = true;
            pageTop = item.top;
        }
        switch (item.kind) {
        case Item::Run:
            item.run.y -= pageTop;
            page->runs.push_back(std::move(item.run));
            break;
        case Item::Rule:
            item.rule.y1 -= pageTop;
            item.rule.y2 -= pageTop;
            page->rules.push_back(item.rule);
            break;
        case Item::Picture:
            item.picture.y -= pageTop;
            page->pictures.push_back(std::move(item.picture));
            break;
        }
    }
}

} // namespace

PrintDocument fit(const PrintDocument& document, const PageFit& fit, int pageWidth, int pageHeight) {
    PrintDocument out;
    out.title = document.title;
    out.copies = document.copies;
    out.orientation = fit.orientation;
    out.pageWidth = pageWidth;
    out.pageHeight = pageHeight;

    if (fit.scale == 1.0 && pageHeight >= document.pageHeight) {
        out.pages = document.pages;
        return out;
    }

    std::vector<const PrintPage*> flowing;
    for (const PrintPage& page : document.pages) {
        if (!page.continued && !flowing.empty()) {
            breakIntoPages(flowItems(flowing, fit.scale), pageHeight, out.pages);
            flowing.clear();
        }
        flowing.push_back(&page);
    }
    if (!flowing.empty()) {
        breakIntoPages(flowItems(flowing, fit.scale), pageHeight, out.pages);
    }
    return out;
}

} // namespace trv::PrintLayout
