// Draws every picture of the program with QPainter and writes them as PNG files under the
// resources directory given on the command line. Run through make_pictures.sh.

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

QString g_root;

QImage Canvas(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void Save(const QImage& image, const QString& relative) {
    const QString path = g_root + "/" + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG"))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void Draw(int w, int h, const QString& relative, const std::function<void(QPainter&)>& draw) {
    QImage image = Canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    draw(p);
    p.end();
    Save(image, relative);
}

// Draws in a 16-unit design grid scaled to the picture.
void Scaled(QPainter& p, int size, const std::function<void(QPainter&)>& draw) {
    p.save();
    p.scale(size / 16.0, size / 16.0);
    draw(p);
    p.restore();
}

QFont Serif(double pixels, bool bold = true) {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(static_cast<int>(pixels));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont Sans(double pixels, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(static_cast<int>(pixels));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

const QColor Gold(226, 180, 72);
const QColor GoldDark(140, 96, 24);
const QColor Teal(22, 84, 96);
const QColor TealDark(10, 40, 52);

// ----- emblem: a gold V over a teal disc with a ring of runes ---------------------------------

void Emblem(QPainter& p, const QRectF& r) {
    const QPointF c = r.center();
    const double R = r.width() / 2;
    QRadialGradient disc(c - QPointF(R * 0.3, R * 0.35), R * 1.4);
    disc.setColorAt(0, QColor(48, 140, 150));
    disc.setColorAt(0.6, Teal);
    disc.setColorAt(1, TealDark);
    p.setPen(QPen(GoldDark, R * 0.06));
    p.setBrush(disc);
    p.drawEllipse(c, R * 0.96, R * 0.96);
    p.setPen(QPen(QColor(226, 180, 72, 150), R * 0.025));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, R * 0.8, R * 0.8);
    // Ticks around the inner ring, like a compass rose of the mist.
    for (int i = 0; i < 24; ++i) {
        const double a = i * M_PI / 12;
        const double r0 = R * (i % 2 ? 0.82 : 0.78), r1 = R * 0.88;
        p.drawLine(QPointF(c.x() + r0 * std::cos(a), c.y() + r0 * std::sin(a)),
                   QPointF(c.x() + r1 * std::cos(a), c.y() + r1 * std::sin(a)));
    }
    // The V: two tapering blades meeting at the bottom.
    QPainterPath v;
    v.moveTo(c.x() - R * 0.58, c.y() - R * 0.5);
    v.lineTo(c.x() - R * 0.30, c.y() - R * 0.5);
    v.lineTo(c.x(), c.y() + R * 0.22);
    v.lineTo(c.x() + R * 0.30, c.y() - R * 0.5);
    v.lineTo(c.x() + R * 0.58, c.y() - R * 0.5);
    v.lineTo(c.x() + R * 0.06, c.y() + R * 0.62);
    v.lineTo(c.x() - R * 0.06, c.y() + R * 0.62);
    v.closeSubpath();
    QLinearGradient gold(c.x(), c.y() - R * 0.5, c.x(), c.y() + R * 0.62);
    gold.setColorAt(0, QColor(255, 226, 140));
    gold.setColorAt(0.5, Gold);
    gold.setColorAt(1, GoldDark);
    p.setPen(QPen(QColor(70, 44, 8), R * 0.03));
    p.setBrush(gold);
    p.drawPath(v);
    // A small star above the V.
    QPainterPath star;
    const QPointF s(c.x(), c.y() - R * 0.64);
    for (int i = 0; i < 8; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 4;
        const double rr = R * (i % 2 ? 0.04 : 0.12);
        const QPointF q(s.x() + rr * std::cos(a), s.y() + rr * std::sin(a));
        if (i == 0)
            star.moveTo(q);
        else
            star.lineTo(q);
    }
    star.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 240, 190));
    p.drawPath(star);
}

void AppIcon(int size) {
    Draw(size, size, QStringLiteral("icons/varn.png"),
         [&](QPainter& p) { Emblem(p, QRectF(1, 1, size - 2, size - 2)); });
}

void DocumentIcon(int size) {
    Draw(size, size, QStringLiteral("icons/varn-document.png"), [&](QPainter& p) {
        const double s = size / 64.0;
        QPainterPath page;
        page.moveTo(10 * s, 3 * s);
        page.lineTo(42 * s, 3 * s);
        page.lineTo(54 * s, 15 * s);
        page.lineTo(54 * s, 61 * s);
        page.lineTo(10 * s, 61 * s);
        page.closeSubpath();
        QLinearGradient paper(0, 0, size, size);
        paper.setColorAt(0, QColor(255, 252, 240));
        paper.setColorAt(1, QColor(226, 216, 190));
        p.setPen(QPen(QColor(110, 100, 80), 1.5 * s));
        p.setBrush(paper);
        p.drawPath(page);
        QPainterPath fold;
        fold.moveTo(42 * s, 3 * s);
        fold.lineTo(42 * s, 15 * s);
        fold.lineTo(54 * s, 15 * s);
        fold.closeSubpath();
        p.setBrush(QColor(200, 188, 160));
        p.drawPath(fold);
        p.setPen(QPen(QColor(150, 140, 120), 1.5 * s));
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(16 * s, (44 + i * 4) * s), QPointF(48 * s, (44 + i * 4) * s));
        Emblem(p, QRectF(17 * s, 12 * s, 30 * s, 30 * s));
    });
}

// ----- toolbar ----------------------------------------------------------------------------------

void Page(QPainter& p, bool lines) {
    QPainterPath page;
    page.moveTo(3, 1);
    page.lineTo(10, 1);
    page.lineTo(13.5, 4.5);
    page.lineTo(13.5, 15);
    page.lineTo(3, 15);
    page.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 100), 0.8));
    p.setBrush(QColor(255, 255, 255));
    p.drawPath(page);
    QPainterPath fold;
    fold.moveTo(10, 1);
    fold.lineTo(10, 4.5);
    fold.lineTo(13.5, 4.5);
    p.setBrush(QColor(215, 220, 228));
    p.drawPath(fold);
    if (lines) {
        p.setPen(QPen(QColor(150, 160, 180), 0.8));
        for (double y = 7; y <= 13; y += 2)
            p.drawLine(QPointF(5, y), QPointF(11.5, y));
    }
}

void ToolNew(QPainter& p) {
    Page(p, false);
    // A gold spark: something new.
    QPainterPath star;
    const QPointF c(11.5, 11.5);
    for (int i = 0; i < 8; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 4;
        const double r = i % 2 ? 1.3 : 3.6;
        const QPointF q(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        i == 0 ? star.moveTo(q) : star.lineTo(q);
    }
    star.closeSubpath();
    p.setPen(QPen(GoldDark, 0.6));
    p.setBrush(QColor(255, 210, 70));
    p.drawPath(star);
}

void ToolOpen(QPainter& p) {
    QPainterPath back;
    back.moveTo(1, 3);
    back.lineTo(6, 3);
    back.lineTo(7.5, 4.5);
    back.lineTo(13, 4.5);
    back.lineTo(13, 13.5);
    back.lineTo(1, 13.5);
    back.closeSubpath();
    p.setPen(QPen(QColor(140, 100, 20), 0.8));
    p.setBrush(QColor(226, 170, 60));
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(3.5, 7);
    front.lineTo(15.3, 7);
    front.lineTo(12.8, 13.5);
    front.lineTo(1, 13.5);
    front.closeSubpath();
    QLinearGradient g(0, 7, 0, 13.5);
    g.setColorAt(0, QColor(255, 222, 120));
    g.setColorAt(1, QColor(240, 186, 70));
    p.setBrush(g);
    p.drawPath(front);
}

void ToolSave(QPainter& p) {
    QPainterPath disk;
    disk.moveTo(1.5, 1.5);
    disk.lineTo(12.5, 1.5);
    disk.lineTo(14.5, 3.5);
    disk.lineTo(14.5, 14.5);
    disk.lineTo(1.5, 14.5);
    disk.closeSubpath();
    QLinearGradient g(0, 0, 16, 16);
    g.setColorAt(0, QColor(70, 110, 190));
    g.setColorAt(1, QColor(30, 60, 130));
    p.setPen(QPen(QColor(20, 40, 90), 0.8));
    p.setBrush(g);
    p.drawPath(disk);
    p.setPen(QPen(QColor(150, 150, 160), 0.6));
    p.setBrush(QColor(250, 250, 252));
    p.drawRect(QRectF(4, 1.8, 8, 5.2));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 60, 110));
    p.drawRect(QRectF(9.2, 2.6, 1.8, 3.4));
    p.setBrush(QColor(210, 215, 225));
    p.drawRect(QRectF(4, 9.5, 8, 5));
}

void ToolPrint(QPainter& p) {
    p.setPen(QPen(QColor(110, 110, 120), 0.7));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 1.5, 8, 6));
    QLinearGradient body(0, 6, 0, 13);
    body.setColorAt(0, QColor(200, 200, 208));
    body.setColorAt(1, QColor(130, 130, 142));
    p.setPen(QPen(QColor(70, 70, 80), 0.8));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(1, 6, 14, 6.5), 1.2, 1.2);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(110, 110, 120), 0.7));
    p.drawRect(QRectF(4, 10.5, 8, 4.5));
    p.setPen(QPen(QColor(150, 160, 180), 0.6));
    p.drawLine(QPointF(5.2, 12.2), QPointF(10.8, 12.2));
    p.drawLine(QPointF(5.2, 13.6), QPointF(9.5, 13.6));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 200, 90));
    p.drawEllipse(QPointF(12.8, 8), 0.8, 0.8);
}

void ToolAbout(QPainter& p) {
    QRadialGradient g(QPointF(6, 5), 11);
    g.setColorAt(0, QColor(120, 170, 240));
    g.setColorAt(1, QColor(30, 80, 170));
    p.setPen(QPen(QColor(20, 50, 120), 0.8));
    p.setBrush(g);
    p.drawEllipse(QPointF(8, 8), 6.8, 6.8);
    p.setPen(Qt::white);
    QFont f = Serif(11);
    p.setFont(f);
    p.drawText(QRectF(0, 0.5, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
}

// A curved arrow turning back (undo) or forward (redo, the mirror image).
void TurnArrow(QPainter& p, bool forward) {
    if (forward) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    QPainterPath bow;
    bow.moveTo(4.5, 6.5);
    bow.cubicTo(9, 3.2, 15, 5, 14, 10.5);
    bow.cubicTo(13.4, 13, 11, 14, 8.5, 14);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 80, 170), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(bow);
    QPainterPath head;
    head.moveTo(1.2, 7.5);
    head.lineTo(6.8, 2.6);
    head.lineTo(7.4, 10.4);
    head.closeSubpath();
    p.setPen(QPen(QColor(20, 50, 120), 0.6));
    p.setBrush(QColor(70, 130, 220));
    p.drawPath(head);
}

void ToolUndo(QPainter& p) {
    TurnArrow(p, false);
}

void ToolRedo(QPainter& p) {
    TurnArrow(p, true);
}

void Toolbar() {
    const int size = 24;
    const std::pair<const char*, void (*)(QPainter&)> tools[] = {
        {"new", ToolNew},   {"open", ToolOpen}, {"save", ToolSave},  {"print", ToolPrint},
        {"undo", ToolUndo}, {"redo", ToolRedo}, {"about", ToolAbout}};
    // Each picture also at twice the size, "name@2x.png", which Qt picks on a high-DPI screen.
    for (const auto& [name, draw] : tools) {
        for (const int scale : {1, 2}) {
            const QString suffix = scale == 1 ? QString() : QStringLiteral("@2x");
            Draw(size * scale, size * scale, QStringLiteral("toolbar/%1%2.png").arg(name, suffix),
                 [&](QPainter& p) { Scaled(p, size * scale, draw); });
        }
    }
}

// ----- warning ------------------------------------------------------------------------------

void Warning(int scale) {
    const int size = 32 * scale;
    const QString name = scale == 1 ? QStringLiteral("icons/warning.png")
                                    : QStringLiteral("icons/warning@%1x.png").arg(scale);
    Draw(size, size, name, [size](QPainter& p) {
        Scaled(p, size, [](QPainter& p) {
            QPainterPath t;
            t.moveTo(8, 1.2);
            t.lineTo(15.2, 14.6);
            t.lineTo(0.8, 14.6);
            t.closeSubpath();
            QLinearGradient g(0, 1, 0, 15);
            g.setColorAt(0, QColor(255, 230, 90));
            g.setColorAt(1, QColor(240, 170, 20));
            p.setPen(QPen(QColor(120, 80, 0), 0.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(g);
            p.drawPath(t);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(40, 30, 10));
            p.drawRoundedRect(QRectF(7.1, 5, 1.8, 5.6), 0.8, 0.8);
            p.drawEllipse(QPointF(8, 12.4), 1.05, 1.05);
        });
    });
}

// ----- equipment state images ---------------------------------------------------------------

void Cuirass(QPainter& p, QColor light, QColor dark, QColor edge) {
    QPainterPath b;
    b.moveTo(4, 2);
    b.lineTo(6.2, 2);
    b.quadTo(8, 4, 9.8, 2);
    b.lineTo(12, 2);
    b.lineTo(14.5, 4.5);
    b.lineTo(12.5, 7);
    b.lineTo(12.5, 13);
    b.quadTo(8, 15.5, 3.5, 13);
    b.lineTo(3.5, 7);
    b.lineTo(1.5, 4.5);
    b.closeSubpath();
    QLinearGradient g(2, 2, 14, 14);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    p.setPen(QPen(edge, 0.8));
    p.setBrush(g);
    p.drawPath(b);
    p.setPen(QPen(edge, 0.6));
    p.drawLine(QPointF(8, 5), QPointF(8, 13.6));
    p.drawLine(QPointF(4.5, 10), QPointF(11.5, 10));
}

void Shield(QPainter& p, QColor field, QColor band, QColor edge) {
    QPainterPath s;
    s.moveTo(2.5, 1.5);
    s.lineTo(13.5, 1.5);
    s.lineTo(13.5, 7);
    s.quadTo(13.5, 12.5, 8, 15);
    s.quadTo(2.5, 12.5, 2.5, 7);
    s.closeSubpath();
    QLinearGradient g(2, 1, 14, 15);
    g.setColorAt(0, field.lighter(130));
    g.setColorAt(1, field);
    p.setPen(QPen(edge, 0.9));
    p.setBrush(g);
    p.drawPath(s);
    p.save();
    p.setClipPath(s);
    p.setPen(Qt::NoPen);
    p.setBrush(band);
    p.drawRect(QRectF(6.6, 0, 2.8, 16));
    p.drawRect(QRectF(0, 5.6, 16, 2.6));
    p.restore();
}

void Sword(QPainter& p) {
    p.save();
    p.translate(8, 8);
    p.rotate(45);
    QLinearGradient blade(-1.2, 0, 1.2, 0);
    blade.setColorAt(0, QColor(245, 248, 252));
    blade.setColorAt(1, QColor(150, 160, 175));
    p.setPen(QPen(QColor(70, 75, 90), 0.6));
    p.setBrush(blade);
    QPainterPath b;
    b.moveTo(0, -8.5);
    b.lineTo(1.3, -6.5);
    b.lineTo(1.3, 3);
    b.lineTo(-1.3, 3);
    b.lineTo(-1.3, -6.5);
    b.closeSubpath();
    p.drawPath(b);
    p.setBrush(Gold);
    p.setPen(QPen(GoldDark, 0.6));
    p.drawRoundedRect(QRectF(-4, 3, 8, 1.6), 0.6, 0.6);
    p.setBrush(QColor(110, 60, 30));
    p.drawRect(QRectF(-0.8, 4.6, 1.6, 3));
    p.setBrush(Gold);
    p.drawEllipse(QPointF(0, 8.2), 1.1, 1.1);
    p.restore();
}

void Pouch(QPainter& p) {
    QPainterPath bag;
    bag.moveTo(6, 4.5);
    bag.quadTo(1.5, 8, 2.5, 12);
    bag.quadTo(3.5, 15, 8, 15);
    bag.quadTo(12.5, 15, 13.5, 12);
    bag.quadTo(14.5, 8, 10, 4.5);
    bag.closeSubpath();
    QRadialGradient g(QPointF(6, 9), 8);
    g.setColorAt(0, QColor(200, 150, 90));
    g.setColorAt(1, QColor(120, 74, 34));
    p.setPen(QPen(QColor(70, 40, 15), 0.8));
    p.setBrush(g);
    p.drawPath(bag);
    QPainterPath neck;
    neck.moveTo(5.5, 1.5);
    neck.lineTo(10.5, 1.5);
    neck.lineTo(9.6, 4.6);
    neck.lineTo(6.4, 4.6);
    neck.closeSubpath();
    p.setBrush(QColor(170, 120, 60));
    p.drawPath(neck);
    p.setPen(QPen(QColor(226, 180, 72), 1.0));
    p.drawLine(QPointF(5.5, 4.8), QPointF(10.5, 4.8));
}

void Gem(QPainter& p) {
    QPainterPath g;
    g.moveTo(4, 5);
    g.lineTo(6, 2);
    g.lineTo(10, 2);
    g.lineTo(12, 5);
    g.lineTo(8, 14);
    g.closeSubpath();
    QLinearGradient grad(4, 2, 12, 14);
    grad.setColorAt(0, QColor(150, 240, 200));
    grad.setColorAt(1, QColor(20, 130, 90));
    p.setPen(QPen(QColor(10, 70, 50), 0.7));
    p.setBrush(grad);
    p.drawPath(g);
    p.setPen(QPen(QColor(10, 70, 50, 160), 0.5));
    p.drawLine(QPointF(4, 5), QPointF(12, 5));
    p.drawLine(QPointF(6.5, 5), QPointF(8, 14));
    p.drawLine(QPointF(9.5, 5), QPointF(8, 14));
}

void Potion(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 90), 0.7));
    p.setBrush(QColor(220, 230, 240, 200));
    QPainterPath f;
    f.moveTo(6.5, 1.5);
    f.lineTo(9.5, 1.5);
    f.lineTo(9.5, 5.5);
    f.quadTo(14, 8, 13, 12);
    f.quadTo(12, 15, 8, 15);
    f.quadTo(4, 15, 3, 12);
    f.quadTo(2, 8, 6.5, 5.5);
    f.closeSubpath();
    p.drawPath(f);
    p.save();
    p.setClipRect(QRectF(0, 8.5, 16, 8));
    QRadialGradient liquid(QPointF(7, 11), 6);
    liquid.setColorAt(0, QColor(240, 110, 160));
    liquid.setColorAt(1, QColor(150, 20, 80));
    p.setPen(Qt::NoPen);
    p.setBrush(liquid);
    p.drawPath(f);
    p.restore();
    p.setBrush(QColor(150, 100, 50));
    p.setPen(QPen(QColor(80, 50, 20), 0.6));
    p.drawRect(QRectF(6.3, 0.8, 3.4, 1.8));
}

void Scroll(QPainter& p) {
    QLinearGradient g(0, 3, 0, 13);
    g.setColorAt(0, QColor(250, 238, 200));
    g.setColorAt(1, QColor(220, 196, 140));
    p.setPen(QPen(QColor(120, 90, 40), 0.7));
    p.setBrush(g);
    p.drawRect(QRectF(3, 3.5, 10, 9));
    p.setBrush(QColor(200, 170, 110));
    p.drawRoundedRect(QRectF(1.5, 2, 13, 2.6), 1.3, 1.3);
    p.drawRoundedRect(QRectF(1.5, 11.5, 13, 2.6), 1.3, 1.3);
    p.setPen(QPen(QColor(140, 110, 70), 0.6));
    for (double y = 6; y <= 10; y += 1.6)
        p.drawLine(QPointF(4.5, y), QPointF(11.5, y));
}

void Key(QPainter& p) {
    p.setPen(QPen(GoldDark, 0.8));
    p.setBrush(Gold);
    p.drawEllipse(QPointF(5, 5), 3.4, 3.4);
    p.setBrush(QColor(255, 255, 255, 0));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(5, 5), 1.3, 1.3);
    QPainterPath shaft;
    shaft.moveTo(7, 7);
    shaft.lineTo(14.5, 14.5);
    p.setPen(QPen(GoldDark, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(shaft);
    p.setPen(QPen(Gold, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(shaft);
    p.setPen(QPen(GoldDark, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 11), QPointF(9.2, 12.8));
    p.drawLine(QPointF(13, 13), QPointF(11.4, 14.6));
}

void Check(QPainter& p) {
    p.setPen(QPen(QColor(255, 255, 255), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath c;
    c.moveTo(8.8, 11.8);
    c.lineTo(11, 14);
    c.lineTo(15, 8.6);
    p.drawPath(c);
    p.setPen(QPen(QColor(20, 150, 40), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(c);
}

void ThreadGlow(QPainter& p) {
    // A woven thread of light across the armour.
    QPainterPath t;
    t.moveTo(2.5, 6);
    t.cubicTo(6, 3.5, 7, 12, 10, 8);
    t.cubicTo(11.5, 6, 13, 9, 14.5, 11);
    p.setPen(QPen(QColor(140, 230, 255, 140), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(t);
    p.setPen(QPen(QColor(240, 250, 255), 0.9, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(t);
}

QImage Faded(const QImage& image) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb c = line[x];
            const int grey = qGray(c);
            // Grey and a little see-through: the piece is owned but not worn.
            const int v = 70 + grey * 130 / 255;
            line[x] = qRgba(v, v, v, qAlpha(c) * 7 / 8);
        }
    }
    return out;
}

void State() {
    const QColor steelLight(225, 232, 240), steelDark(110, 125, 145), steelEdge(50, 60, 75);
    const QColor red(190, 40, 40), redEdge(90, 20, 20);
    auto armor = [&](QPainter& p) { Cuirass(p, steelLight, steelDark, steelEdge); };
    auto shield = [&](QPainter& p) { Shield(p, red, Gold, redEdge); };
    auto thread = [&](QPainter& p) {
        Cuirass(p, QColor(200, 190, 240), QColor(90, 70, 150), QColor(40, 30, 80));
        ThreadGlow(p);
    };
    const std::function<void(QPainter&)> pictures[14] = {
        [](QPainter& p) { Scroll(p); },
        armor,
        shield,
        [](QPainter& p) { Sword(p); },
        [](QPainter& p) { Pouch(p); },
        [](QPainter& p) { Gem(p); },
        thread,
        [](QPainter& p) { Potion(p); },
        [](QPainter& p) { Key(p); },
        [&](QPainter& p) {
            Shield(p, QColor(40, 80, 170), QColor(230, 230, 235), QColor(20, 40, 90));
        },
        [&](QPainter& p) {
            armor(p);
            Check(p);
        },
        armor, // drawn faded below
        [&](QPainter& p) {
            shield(p);
            Check(p);
        },
        shield, // drawn faded below
    };
    for (int n = 0; n < 14; ++n) {
        for (const int scale : {1, 2}) {
            QImage image = Canvas(16 * scale, 16 * scale);
            {
                QPainter p(&image);
                p.setRenderHint(QPainter::Antialiasing);
                p.scale(scale, scale);
                pictures[n](p);
            }
            if (n == 11 || n == 13)
                image = Faded(image);
            Save(image, scale == 1 ? QStringLiteral("state/%1.png").arg(n)
                                   : QStringLiteral("state/%1@2x.png").arg(n));
        }
    }
}

// ----- splash -------------------------------------------------------------------------------

void Mountains(QPainter& p, int w, double base, double height, quint32 seed, QColor color) {
    QRandomGenerator rng(seed);
    QPainterPath ridge;
    ridge.moveTo(0, 200);
    double y = base - height * rng.bounded(1.0);
    ridge.lineTo(0, y);
    for (int x = 0; x <= w; x += 8) {
        y += (rng.bounded(1.0) - 0.5) * height * 0.5;
        y = std::clamp(y, base - height, base);
        ridge.lineTo(x, y);
    }
    ridge.lineTo(w, 200);
    ridge.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(ridge);
}

void Mist(QPainter& p, int w, double y, double thickness, int alpha) {
    QLinearGradient g(0, y - thickness, 0, y + thickness);
    g.setColorAt(0, QColor(210, 225, 240, 0));
    g.setColorAt(0.5, QColor(210, 225, 240, alpha));
    g.setColorAt(1, QColor(210, 225, 240, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRect(QRectF(0, y - thickness, w, 2 * thickness));
}

void Splash() {
    const int w = 400, h = 200;
    QImage image(w, h, QImage::Format_RGB32);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        QLinearGradient sky(0, 0, 0, h);
        sky.setColorAt(0, QColor(12, 18, 48));
        sky.setColorAt(0.55, QColor(44, 52, 110));
        sky.setColorAt(1, QColor(150, 110, 140));
        p.fillRect(0, 0, w, h, sky);
        // Stars.
        QRandomGenerator rng(7);
        for (int i = 0; i < 90; ++i) {
            const double x = rng.bounded(w), y = rng.bounded(110.0);
            const int a = 90 + rng.bounded(160);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 240, a));
            p.drawEllipse(QPointF(x, y), 0.5 + rng.bounded(0.8), 0.5 + rng.bounded(0.8));
        }
        // A pale moon.
        QRadialGradient moon(QPointF(325, 48), 26);
        moon.setColorAt(0, QColor(255, 250, 225));
        moon.setColorAt(0.6, QColor(245, 236, 200));
        moon.setColorAt(0.75, QColor(245, 236, 200, 90));
        moon.setColorAt(1, QColor(245, 236, 200, 0));
        p.setBrush(moon);
        p.drawEllipse(QPointF(325, 48), 26, 26);

        Mountains(p, w, 140, 55, 3, QColor(52, 48, 92));
        Mist(p, w, 138, 14, 90);
        Mountains(p, w, 165, 45, 11, QColor(34, 30, 66));
        Mist(p, w, 165, 16, 120);
        Mountains(p, w, 195, 35, 29, QColor(18, 16, 38));
        Mist(p, w, 192, 10, 70);

        Emblem(p, QRectF(22, 34, 96, 96));

        // Title with a soft shadow.
        const QFont title = Serif(64);
        p.setFont(title);
        const QRectF titleRect(130, 28, 250, 80);
        p.setPen(QColor(0, 0, 0, 150));
        p.drawText(titleRect.translated(3, 3), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("VARN"));
        QLinearGradient gold(0, 40, 0, 100);
        gold.setColorAt(0, QColor(255, 236, 160));
        gold.setColorAt(0.5, Gold);
        gold.setColorAt(1, QColor(170, 116, 30));
        QPainterPath text;
        const QFontMetricsF m(title);
        const double baseline = titleRect.center().y() + (m.ascent() - m.descent()) / 2;
        text.addText(QPointF(titleRect.left(), baseline), title, QStringLiteral("VARN"));
        p.setPen(QPen(QColor(80, 50, 10), 1.2));
        p.setBrush(gold);
        p.drawPath(text);

        p.setFont(Serif(15, false));
        p.setPen(QColor(230, 232, 245));
        p.drawText(QRectF(132, 104, 260, 22), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Mistreach Character Generator"));
        p.setFont(Sans(11));
        p.setPen(QColor(200, 205, 225));
        p.drawText(QRectF(132, 124, 260, 18), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Version 1.3e"));

        // Thin gold frame.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(226, 180, 72, 200), 1));
        p.drawRect(QRectF(3.5, 3.5, w - 7, h - 7));
        p.setPen(QPen(QColor(0, 0, 0), 1));
        p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    }
    Save(image, QStringLiteral("pictures/splash.png"));
}

// ----- tips picture: a lantern in the mist --------------------------------------------------

void Tips() {
    const int w = 94, h = 197;
    QImage image(w, h, QImage::Format_RGB32);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient bg(0, 0, 0, h);
        bg.setColorAt(0, QColor(28, 34, 70));
        bg.setColorAt(1, QColor(90, 84, 120));
        p.fillRect(0, 0, w, h, bg);
        // Glow of the lantern.
        QRadialGradient glow(QPointF(47, 92), 60);
        glow.setColorAt(0, QColor(255, 210, 120, 200));
        glow.setColorAt(0.35, QColor(255, 180, 80, 90));
        glow.setColorAt(1, QColor(255, 180, 80, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(QPointF(47, 92), 60, 60);
        // Post and hook.
        p.setBrush(QColor(40, 30, 24));
        p.drawRect(QRectF(12, 20, 6, 177));
        p.drawRect(QRectF(12, 22, 40, 4));
        p.setPen(QPen(QColor(40, 30, 24), 2));
        p.drawLine(QPointF(47, 26), QPointF(47, 48));
        // Lantern body.
        p.setPen(QPen(QColor(30, 22, 14), 1.5));
        p.setBrush(QColor(60, 44, 30));
        QPainterPath roof;
        roof.moveTo(33, 60);
        roof.lineTo(47, 47);
        roof.lineTo(61, 60);
        roof.closeSubpath();
        p.drawPath(roof);
        QLinearGradient pane(0, 62, 0, 118);
        pane.setColorAt(0, QColor(255, 240, 190));
        pane.setColorAt(1, QColor(255, 190, 90));
        p.setBrush(pane);
        p.drawRect(QRectF(36, 61, 22, 56));
        p.setPen(QPen(QColor(60, 44, 30), 2));
        p.drawLine(QPointF(47, 61), QPointF(47, 117));
        p.drawLine(QPointF(36, 89), QPointF(58, 89));
        p.setPen(QPen(QColor(30, 22, 14), 1.5));
        p.setBrush(QColor(60, 44, 30));
        p.drawRect(QRectF(32, 117, 30, 6));
        // Flame.
        QPainterPath flame;
        flame.moveTo(47, 74);
        flame.cubicTo(52, 82, 52, 90, 47, 93);
        flame.cubicTo(42, 90, 42, 82, 47, 74);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 230));
        p.drawPath(flame);
        // Mist at the foot.
        for (int i = 0; i < 3; ++i)
            Mist(p, w, 150 + i * 18, 14, 70 + i * 20);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0, 0, 0), 1));
        p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    }
    Save(image, QStringLiteral("pictures/tips.png"));
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_pictures RESOURCES_DIR\n");
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    AppIcon(128);
    DocumentIcon(64);
    Toolbar();
    Warning(1);
    Warning(2);
    State();
    Splash();
    Tips();
    return 0;
}
