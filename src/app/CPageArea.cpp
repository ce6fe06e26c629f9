#include "app/CPageArea.h"

#include <QEvent>
#include <QScreen>
#include <QScrollBar>

CPageArea::CPageArea(QWidget* pages, QWidget* parent)
    : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setWidget(pages);
    pages->installEventFilter(this);
}

void CPageArea::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    FitPage();
}

bool CPageArea::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == widget() && event->type() == QEvent::LayoutRequest)
        FitPage();
    return QScrollArea::eventFilter(watched, event);
}

void CPageArea::FitPage()
{
    QWidget* pages = widget();
    const QSize least = pages->minimumSizeHint();
    QSize room = maximumViewportSize();
    // A scroll bar one way takes room from the other.
    if (least.width() > room.width())
        room.rheight() -= horizontalScrollBar()->sizeHint().height();
    if (least.height() > room.height())
        room.rwidth() -= verticalScrollBar()->sizeHint().width();
    pages->resize(room.expandedTo(least));
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
