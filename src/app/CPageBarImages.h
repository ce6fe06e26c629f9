#pragma once
#include <QIcon>
#include <QImage>

// The pictures of the page bar, drawn by the program itself: Start, Words, Test,
// Reports, Options and Exit, each 48 x 48 in three looks (normal, hot for the button
// under the mouse, disabled). Drawn as vectors, so they stay sharp at any scale.
class CPageBarImages {
public:
    enum Picture { Start, Words, Test, Reports, Options, Exit, Count };
    enum Look { Normal, Hot, Disabled };
    static constexpr int kSize = 48;

    // One picture in one look, size x size device pixels (transparent background).
    static QImage Render(Picture picture, Look look, int size = kSize);
    // The three looks as QIcon modes Normal, Active and Disabled, at 1x and 2x.
    static QIcon Icon(Picture picture);
};
