#pragma once

#include <QRect>

#include <optional>

// Where the preview window and the detail window hang under the access window. A pure
// function of the frames, so that the rules can be checked without windows. Qt coordinates:
// origin at the top left, y downwards ("below the screen's bottom" is a larger y).
struct SelectionPlacementInput {
    QRect accessFrame; // the access window's frame
    QRect screen; // the usable area of the access window's screen
    std::optional<int> textHeight; // the fitted height of the preview text, none: keep
    bool imageShown = false; // the detail window shows a picture
    int currentHeight = 0; // the preview window's height now
    int detailHeight = 0; // the detail window's own height
};

struct SelectionPlacementResult {
    QRect previewFrame;
    QRect detailFrame;
    bool previewAbove = false; // no room below: the preview hangs above the window
};

class SelectionPlacement
{
public:
    SelectionPlacement() = delete;

    static constexpr int Gap = 2;
    static constexpr int TextMargin = 12; // the text's inset, both sides together
    static constexpr int MinimumTextHeight = 40;
    static constexpr int MinimumImageHeight = 70;
    static constexpr int MinimumHeight = 32;
    static constexpr int MaximumHeight = 1000;

    // The preview window's wanted height before the screen has its say.
    static int wantedHeight(const SelectionPlacementInput &input);
    static SelectionPlacementResult place(const SelectionPlacementInput &input);
};
