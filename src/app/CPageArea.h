#pragma once
#include <QScrollArea>

// Holds the main window's pages. It asks for the room the page wants, and scrolls the
// page when the window is smaller than the page's least size (a small screen).
class CPageArea : public QScrollArea {
    Q_OBJECT
public:
    explicit CPageArea(QWidget* pages, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    // The pages' least size, but never more than the screen can show around the window.
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The page fills the area and scrolls only below its least size. (Qt's own
    // fitting would ask a page with wrapping texts for its height at its ease.)
    void FitPage();
};
