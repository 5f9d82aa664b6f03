#include "SelectionPlacement.h"

#include <algorithm>

namespace {

int bottomOf(const QRect &r)
{
    return r.y() + r.height(); // one past the last row, unlike QRect::bottom()
}

} // namespace

int SelectionPlacement::wantedHeight(const SelectionPlacementInput &input)
{
    int height = input.currentHeight;
    if (input.textHeight) {
        height = std::max(*input.textHeight + TextMargin, MinimumTextHeight);
        if (input.imageShown)
            height = std::max(height, MinimumImageHeight);
    }
    return std::clamp(height, MinimumHeight, MaximumHeight);
}

SelectionPlacementResult SelectionPlacement::place(const SelectionPlacementInput &input)
{
    const QRect &access = input.accessFrame;
    const QRect &screen = input.screen;
    int height = wantedHeight(input);

    // The room between the gap under the window and the screen's bottom edge; the gap counts,
    // or a window that just fits would end two points below the screen.
    const int roomBelow = bottomOf(screen) - (bottomOf(access) + Gap);
    const int roomAbove = access.y() - Gap - screen.y();

    SelectionPlacementResult result;
    int top = bottomOf(access) + Gap;
    if (height > roomBelow) {
        if (roomBelow >= MinimumHeight || roomBelow >= roomAbove) {
            // Cut to the room left; a long note keeps the same top and ends at the edge.
            height = std::max(roomBelow, 0);
        } else {
            // Too little room to read anything below: hang it above the window instead.
            height = std::min(height, std::max(roomAbove, 0));
            top = access.y() - Gap - height;
            result.previewAbove = true;
        }
    }
    result.previewFrame = QRect(access.x(), top, access.width(), height);

    const QRect &preview = result.previewFrame;
    QRect detail(preview.x(), bottomOf(preview) + Gap, preview.width(), input.detailHeight);
    if (result.previewAbove)
        detail.moveTop(preview.y() - Gap - input.detailHeight);
    else if (bottomOf(detail) > bottomOf(screen))
        // No room under the preview: above the access window, where it stays in sight.
        detail.moveTop(access.y() - Gap - input.detailHeight);
    result.detailFrame = detail;
    return result;
}
