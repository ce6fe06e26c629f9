#include "app/CPageArea.h"

#include <QScreen>

CPageArea::CPageArea(QWidget* pages, QWidget* parent)
    : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(pages);
}

QSize CPageArea::sizeHint() const
{
    return widget()->sizeHint().expandedTo(widget()->minimumSizeHint());
}

QSize CPageArea::minimumSizeHint() const
{
    QSize least = widget()->minimumSizeHint();
    if (const QScreen* s = screen()) {
        // What the window puts around this area: page bar, menu, status bar, frame.
        const QWidget* frame = window();
        QSize around(0, 0);
        if (frame != this && frame->isVisible())
            around = frame->frameGeometry().size() - size();
        least = least.boundedTo((s->availableSize() - around).expandedTo(QSize(100, 100)));
    }
    return least;
}
