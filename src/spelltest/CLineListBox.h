#pragma once
#include <QListWidget>

#include <cstdint>
#include <map>
#include <string>

// A list box whose items each keep their own text colour (a Windows COLORREF: red in
// the low byte, then green, then blue), drawn by the list itself: one line per item,
// as high as the list's font plus its external leading and 4 pixels.
class CLineListBox : public QListWidget {
    Q_OBJECT
public:
    explicit CLineListBox(QWidget* parent = nullptr);

    // Adds text (Windows-1252) at the end in color; returns its index, or -1. A screen
    // reader reads the text followed by spokenNote (colour alone says nothing to it).
    int AddItem(const std::string& text, uint32_t color, const std::string& spokenNote = std::string());
    // The colour of item index, or 0 (black) when there is no such item.
    uint32_t GetItemColor(int index) const;
    std::string GetText(int index) const;
    int GetCount() const { return count(); }
    void ResetContent() { clear(); }

    // The width in pixels over which the items can be scrolled sideways.
    void SetHorizontalExtent(int pixels);
    int GetHorizontalExtent() const { return m_horizontalExtent; }

    // Height of every item, from the list's own font.
    int ItemHeight() const;

    static QColor ToQColor(uint32_t colorRef);
    // Items stored in colorRef are drawn in shown instead (the reading style's tint of
    // the same colour); the stored colour stays as it is.
    void SetInk(uint32_t colorRef, const QColor& shown);
    QColor Ink(uint32_t colorRef) const;
    // The background an item of colour ink is drawn on: the desktop's base colour when
    // ink reads well on it, else white (a dark theme would swallow dark red and green).
    static QColor Paper(const QColor& ink, const QColor& base);

private:
    int m_horizontalExtent = 0;
    std::map<uint32_t, QColor> m_inks;
};
