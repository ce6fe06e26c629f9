#include "app/CPageBarImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace {
// Every colour of a picture passes through the look: hot is brighter and warmer,
// disabled is a pale grey of the same lightness.
QColor Tone(const QColor& colour, CPageBarImages::Look look)
{
    switch (look) {
    case CPageBarImages::Normal:
        return colour;
    case CPageBarImages::Hot: {
        QColor c = colour.toHsv();
        const int s = qMin(255, c.hsvSaturation() + 25);
        const int v = qMin(255, c.value() + 35);
        return QColor::fromHsv(c.hsvHue(), s, v, colour.alpha());
    }
    case CPageBarImages::Disabled: {
        const int grey = qGray(colour.rgb());
        const int pale = 150 + grey * 90 / 255;
        return QColor(pale, pale, pale, colour.alpha());
    }
    }
    return colour;
}

class Painter {
public:
    Painter(QPainter& p, CPageBarImages::Look look) : m_p(p), m_look(look) {}

    QColor C(const char* name) const { return Tone(QColor(QLatin1String(name)), m_look); }
    QPen Pen(const char* name, qreal width) const
    {
        QPen pen(C(name), width);
        pen.setJoinStyle(Qt::RoundJoin);
        pen.setCapStyle(Qt::RoundCap);
        return pen;
    }
    void Fill(const QPainterPath& path, const char* fill, const char* outline, qreal width = 1.5)
    {
        m_p.setBrush(C(fill));
        m_p.setPen(outline ? Pen(outline, width) : QPen(Qt::NoPen));
        m_p.drawPath(path);
    }
    void Rect(const QRectF& r, const char* fill, const char* outline, qreal radius = 0, qreal width = 1.5)
    {
        QPainterPath path;
        path.addRoundedRect(r, radius, radius);
        Fill(path, fill, outline, width);
    }
    void Line(QPointF a, QPointF b, const char* colour, qreal width)
    {
        m_p.setPen(Pen(colour, width));
        m_p.drawLine(a, b);
    }
    void Polyline(std::initializer_list<QPointF> points, const char* colour, qreal width)
    {
        m_p.setPen(Pen(colour, width));
        m_p.setBrush(Qt::NoBrush);
        QPainterPath path;
        bool first = true;
        for (const QPointF& pt : points) {
            if (first)
                path.moveTo(pt);
            else
                path.lineTo(pt);
            first = false;
        }
        m_p.drawPath(path);
    }
    // A soft shadow under the whole picture, so it stands off the bar.
    void Shadow(const QRectF& r, qreal radius = 3)
    {
        QColor shadow(0, 0, 0, m_look == CPageBarImages::Disabled ? 20 : 45);
        m_p.setPen(Qt::NoPen);
        m_p.setBrush(shadow);
        m_p.drawRoundedRect(r.translated(1.5, 2), radius, radius);
    }

    QPainter& m_p;
    CPageBarImages::Look m_look;
};

void DrawStart(Painter& d)
{
    d.Shadow(QRectF(9, 22, 30, 21), 1);
    QPainterPath roof;
    roof.moveTo(4, 24);
    roof.lineTo(24, 5);
    roof.lineTo(44, 24);
    roof.closeSubpath();
    d.Rect(QRectF(9, 21, 30, 22), "#f6e3b4", "#8a6a32");
    d.Fill(roof, "#d9472b", "#7d2414");
    d.Rect(QRectF(32, 8, 5, 10), "#a0522d", "#5e2f16", 0, 1.2);
    d.Rect(QRectF(13, 27, 8, 16), "#8b5a2b", "#4d2f12", 1);
    d.Rect(QRectF(25, 26, 10, 9), "#7ec8f2", "#2c6b96", 0.5);
    d.Line(QPointF(30, 26), QPointF(30, 35), "#2c6b96", 1.2);
    d.Line(QPointF(25, 30.5), QPointF(35, 30.5), "#2c6b96", 1.2);
}

void DrawWords(Painter& d)
{
    d.Shadow(QRectF(7, 5, 28, 38));
    d.Rect(QRectF(7, 5, 28, 38), "#ffffff", "#5d7fa3", 2);
    d.Rect(QRectF(7, 5, 28, 6), "#e4574a", "#5d7fa3", 1);
    for (int i = 0; i < 5; ++i)
        d.Line(QPointF(11, 17 + i * 5.5), QPointF(i == 4 ? 22 : 31, 17 + i * 5.5), "#7da7d9", 1.6);
    // The pencil, drawn along its own axis.
    QPainter& p = d.m_p;
    p.save();
    p.translate(34, 30);
    p.rotate(45);
    d.Rect(QRectF(-3.5, -16, 7, 22), "#f5c242", "#8a6412", 0.5, 1.2);
    d.Rect(QRectF(-3.5, -19, 7, 4), "#e88a9a", "#8a4a55", 0.5, 1.2);
    QPainterPath tip;
    tip.moveTo(-3.5, 6);
    tip.lineTo(3.5, 6);
    tip.lineTo(0, 13);
    tip.closeSubpath();
    d.Fill(tip, "#f3d6a8", "#8a6412", 1.2);
    QPainterPath lead;
    lead.moveTo(-1.2, 10.6);
    lead.lineTo(1.2, 10.6);
    lead.lineTo(0, 13);
    lead.closeSubpath();
    d.Fill(lead, "#333333", nullptr);
    p.restore();
}

void DrawTest(Painter& d)
{
    d.Shadow(QRectF(8, 6, 32, 38));
    d.Rect(QRectF(8, 6, 32, 38), "#b07a3c", "#6b4419", 3);
    d.Rect(QRectF(12, 10, 24, 31), "#ffffff", "#8c8c8c", 1, 1);
    d.Rect(QRectF(17, 3, 14, 7), "#c0c6cc", "#5d646b", 2, 1.2);
    d.Polyline({QPointF(15, 18), QPointF(17.5, 20.5), QPointF(21.5, 15.5)}, "#2a9d46", 2.2);
    d.Line(QPointF(24, 18), QPointF(33, 18), "#7a8a99", 1.6);
    d.Polyline({QPointF(15, 27), QPointF(17.5, 29.5), QPointF(21.5, 24.5)}, "#2a9d46", 2.2);
    d.Line(QPointF(24, 27), QPointF(33, 27), "#7a8a99", 1.6);
    d.Line(QPointF(15.5, 33.5), QPointF(20.5, 38.5), "#d63a2f", 2.2);
    d.Line(QPointF(20.5, 33.5), QPointF(15.5, 38.5), "#d63a2f", 2.2);
    d.Line(QPointF(24, 36), QPointF(33, 36), "#7a8a99", 1.6);
}

void DrawReports(Painter& d)
{
    d.Shadow(QRectF(5, 6, 38, 37));
    d.Rect(QRectF(5, 6, 38, 37), "#fbfdff", "#6f86a0", 2);
    for (int i = 1; i < 4; ++i)
        d.Line(QPointF(9, 6 + i * 8.5), QPointF(39, 6 + i * 8.5), "#dbe4ee", 1);
    d.Rect(QRectF(10, 24, 7, 15), "#3f7fd6", "#1f4f8f", 0.5, 1.2);
    d.Rect(QRectF(20.5, 13, 7, 26), "#3bb05a", "#1e6e34", 0.5, 1.2);
    d.Rect(QRectF(31, 19, 7, 20), "#f0a030", "#9a5f0c", 0.5, 1.2);
    d.Line(QPointF(8, 39.5), QPointF(40, 39.5), "#44556a", 1.8);
}

void DrawOptions(Painter& d)
{
    QPainterPath gear;
    const QPointF c(24, 24);
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const qreal a = (i * 360.0 / (teeth * 4) - 360.0 / (teeth * 8)) * M_PI / 180.0;
        const qreal r = (i % 4 == 1 || i % 4 == 2) ? 20.0 : 14.5;
        const QPointF pt(c.x() + r * qCos(a), c.y() + r * qSin(a));
        if (i == 0)
            gear.moveTo(pt);
        else
            gear.lineTo(pt);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, 6.5, 6.5);
    gear = gear.subtracted(hole);
    d.m_p.save();
    d.m_p.translate(1.5, 2);
    d.m_p.setPen(Qt::NoPen);
    d.m_p.setBrush(QColor(0, 0, 0, d.m_look == CPageBarImages::Disabled ? 20 : 45));
    d.m_p.drawPath(gear);
    d.m_p.restore();
    d.Fill(gear, "#7f93a8", "#3b4a5a", 1.6);
    QPainterPath ring;
    ring.addEllipse(c, 10.5, 10.5);
    ring = ring.subtracted(hole);
    d.Fill(ring, "#a9bacb", nullptr);
}

void DrawExit(Painter& d)
{
    d.Shadow(QRectF(6, 4, 24, 40), 1);
    d.Rect(QRectF(6, 4, 24, 40), "#7a4a22", "#3f240c", 1);
    QPainterPath door;
    door.moveTo(9, 7);
    door.lineTo(24, 10);
    door.lineTo(24, 42);
    door.lineTo(9, 41);
    door.closeSubpath();
    d.Fill(door, "#c98a4b", "#5a3412", 1.2);
    d.Rect(QRectF(20, 25, 2.6, 2.6), "#f4d03f", "#8a7010", 1.3, 0.8);
    QPainterPath arrow;
    arrow.moveTo(27, 20.5);
    arrow.lineTo(35, 20.5);
    arrow.lineTo(35, 14);
    arrow.lineTo(45, 24);
    arrow.lineTo(35, 34);
    arrow.lineTo(35, 27.5);
    arrow.lineTo(27, 27.5);
    arrow.closeSubpath();
    d.Fill(arrow, "#34b04f", "#1b6b2c", 1.5);
}
}

QImage CPageBarImages::Render(Picture picture, Look look, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / qreal(kSize), size / qreal(kSize));
    Painter d(p, look);
    switch (picture) {
    case Start: DrawStart(d); break;
    case Words: DrawWords(d); break;
    case Test: DrawTest(d); break;
    case Reports: DrawReports(d); break;
    case Options: DrawOptions(d); break;
    case Exit: DrawExit(d); break;
    case Count: break;
    }
    return image;
}

QIcon CPageBarImages::Icon(Picture picture)
{
    QIcon icon;
    const std::pair<Look, QIcon::Mode> looks[] = {
        {Normal, QIcon::Normal}, {Hot, QIcon::Active}, {Disabled, QIcon::Disabled}};
    for (const auto& [look, mode] : looks) {
        for (int scale = 1; scale <= 2; ++scale) {
            QPixmap pixmap = QPixmap::fromImage(Render(picture, look, kSize * scale));
            pixmap.setDevicePixelRatio(scale);
            icon.addPixmap(pixmap, mode);
        }
    }
    return icon;
}
