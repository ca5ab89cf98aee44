#include "resources/art.h"

#include "resources/resource.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace resources {
namespace {

constexpr int kIconSize = 32;
const QColor kInk(40, 70, 120);
const QColor kAccent(230, 140, 30);

using Drawing = std::function<void(QPainter&)>;

QPen Stroke(const QColor& color, qreal width = 2.5) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Film(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(QColor(70, 90, 120));
    p.drawRoundedRect(QRectF(4, 6, 24, 20), 2, 2);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.drawRect(QRectF(7 + i * 5.5, 8, 3, 2.5));
        p.drawRect(QRectF(7 + i * 5.5, 21.5, 3, 2.5));
    }
    p.setPen(Stroke(kAccent, 2));
    QPainterPath wave(QPointF(8, 16));
    wave.cubicTo(12, 11, 14, 21, 16, 16);
    wave.cubicTo(18, 11, 20, 21, 24, 16);
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
}

void Folder(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(QColor(245, 200, 90));
    QPolygonF shape({{3, 9}, {12, 9}, {14, 12}, {29, 12}, {29, 26}, {3, 26}});
    p.drawPolygon(shape);
}

void Squares(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(QColor(120, 170, 230));
    p.drawRect(QRectF(4, 4, 16, 16));
    p.setBrush(QColor(245, 200, 90, 220));
    p.drawRect(QRectF(12, 12, 16, 16));
}

void Gear(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(QColor(150, 160, 175));
    QPolygonF teeth;
    for (int i = 0; i < 16; ++i) {
        double angle = i * M_PI / 8;
        double radius = (i % 2 == 0) ? 13 : 10;
        teeth << QPointF(16 + radius * std::cos(angle), 16 + radius * std::sin(angle));
    }
    p.drawPolygon(teeth);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 4, 4);
}

void Play(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(QColor(90, 170, 90));
    p.drawEllipse(QPointF(16, 16), 13, 13);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({{12, 9}, {24, 16}, {12, 23}}));
}

void Letter(QPainter& p, const QString& letter, const QColor& fill) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(fill);
    p.drawEllipse(QPointF(16, 16), 13, 13);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(18);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, kIconSize, kIconSize), Qt::AlignCenter, letter);
}

void Arrow(QPainter& p, bool up) {
    p.setPen(Stroke(kInk, 3));
    p.setBrush(Qt::NoBrush);
    double tip = up ? 5 : 27;
    double tail = up ? 27 : 5;
    double wing = up ? 14 : 18;
    p.drawLine(QPointF(16, tip), QPointF(16, tail));
    p.drawPolyline(QPolygonF({{8, wing}, {16, tip}, {24, wing}}));
}

void Cross(QPainter& p, int count) {
    p.setPen(Stroke(QColor(200, 50, 40), 3.5));
    for (int i = 0; i < count; ++i) {
        double shift = (count == 1) ? 0 : (i == 0 ? -5 : 5);
        p.drawLine(QPointF(8 + shift, 8), QPointF(24 + shift, 24));
        p.drawLine(QPointF(24 + shift, 8), QPointF(8 + shift, 24));
    }
}

void Pencil(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(kAccent);
    p.drawPolygon(QPolygonF({{6, 26}, {8, 19}, {22, 5}, {27, 10}, {13, 24}}));
    p.drawLine(QPointF(8, 19), QPointF(13, 24));
}

void House(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(QColor(200, 80, 60));
    p.drawPolygon(QPolygonF({{3, 16}, {16, 4}, {29, 16}}));
    p.setBrush(QColor(240, 230, 210));
    p.drawRect(QRectF(7, 16, 18, 12));
    p.setBrush(QColor(120, 80, 50));
    p.drawRect(QRectF(14, 20, 5, 8));
}

void Door(QPainter& p) {
    p.setPen(Stroke(kInk, 2));
    p.setBrush(QColor(160, 110, 70));
    p.drawRect(QRectF(5, 4, 13, 24));
    p.setPen(Stroke(QColor(200, 50, 40), 3));
    p.drawLine(QPointF(14, 16), QPointF(28, 16));
    p.drawPolyline(QPolygonF({{23, 11}, {28, 16}, {23, 21}}));
}

const std::map<int, Drawing>& Drawings() {
    static const std::map<int, Drawing> drawings = {
        {IDR_MAINFRAME, Film},
        {IDI_OPEN_VIDEO, Folder},
        {IDI_TRANSITION, Squares},
        {IDI_OPTIONS, Gear},
        {IDI_PREVIEW, Play},
        {IDI_HELP, [](QPainter& p) { Letter(p, "?", QColor(60, 120, 200)); }},
        {IDI_MOVE_UP, [](QPainter& p) { Arrow(p, true); }},
        {IDI_MOVE_DOWN, [](QPainter& p) { Arrow(p, false); }},
        {IDI_DELETE_ITEM, [](QPainter& p) { Cross(p, 1); }},
        {IDI_DELETE_ALL, [](QPainter& p) { Cross(p, 2); }},
        {IDI_ITEM_PROPERTIES, Pencil},
        {IDI_ABOUT, [](QPainter& p) { Letter(p, "i", QColor(60, 150, 110)); }},
        {IDI_HOMEPAGE, House},
        {IDI_EXIT, Door},
    };
    return drawings;
}

} // namespace

namespace {

// Draws the icon afresh at whatever size and pixel density it is asked for, so it stays sharp
// on any screen.
class PaintedIconEngine : public QIconEngine {
  public:
    explicit PaintedIconEngine(Drawing drawing) : drawing_(std::move(drawing)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, ratio));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
        const int side = qRound(std::min(size.width(), size.height()) * scale);
        QPixmap pixmap = QPixmap::fromImage(Render(drawing_, side));
        if (mode == QIcon::Disabled && qobject_cast<QApplication*>(QCoreApplication::instance())) {
            QStyleOption option;
            option.palette = QApplication::palette();
            pixmap = QApplication::style()->generatedIconPixmap(QIcon::Disabled, pixmap, &option);
        }
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }
    QIconEngine* clone() const override { return new PaintedIconEngine(drawing_); }

    static QImage Render(const Drawing& drawing, int side) {
        QImage image(std::max(side, 1), std::max(side, 1), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(side / double(kIconSize), side / double(kIconSize));
        drawing(painter);
        return image;
    }

  private:
    Drawing drawing_;
};

} // namespace

QIcon LoadIcon(int id) {
    auto found = Drawings().find(id);
    if (found == Drawings().end())
        return {};
    return QIcon(new PaintedIconEngine(found->second));
}

QImage RenderIcon(int id, int side) {
    auto found = Drawings().find(id);
    return found == Drawings().end() ? QImage() : PaintedIconEngine::Render(found->second, side);
}

QPixmap LoadBitmap(int id, qreal devicePixelRatio) {
    if (id != IDB_BACKGROUND)
        return {};
    // A soft diagonal weave that tiles without seams, drawn at the screen's own density.
    QPixmap tile(QSize(32, 32) * devicePixelRatio);
    tile.setDevicePixelRatio(devicePixelRatio);
    tile.fill(QColor(226, 232, 240));
    QPainter painter(&tile);
    painter.setPen(QPen(QColor(214, 222, 233), 1));
    for (int offset = -32; offset < 32; offset += 8)
        painter.drawLine(offset, 0, offset + 32, 32);
    return tile;
}

QCursor LoadCursor(int id) {
    return id == IDC_HAND_CURSOR ? QCursor(Qt::PointingHandCursor) : QCursor(Qt::ArrowCursor);
}

QUrl SoundUrl(int id) {
    return id == IDR_HOVER_SOUND ? QUrl(QStringLiteral("qrc:/sounds/hover.wav")) : QUrl();
}

} // namespace resources
