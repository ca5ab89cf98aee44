#include "controls/status_label.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace {

// The gap the status texts put between their fields.
const QString kFieldGap = QStringLiteral("     ");

} // namespace

CStatusLabel::CStatusLabel(QWidget* parent) : QLabel(parent) {
    setTextInteractionFlags(Qt::NoTextInteraction);
}

QStringList CStatusLabel::DisplayedLines() const {
    const QFontMetrics metrics = fontMetrics();
    const int width = contentsRect().width();
    const QString whole = text();
    if (metrics.horizontalAdvance(whole) <= width)
        return {whole};
    const int gap = whole.lastIndexOf(kFieldGap);
    QStringList lines = gap < 0 ? QStringList{whole}
                                : QStringList{whole.left(gap), whole.mid(gap + kFieldGap.size())};
    for (QString& line : lines)
        line = metrics.elidedText(line, Qt::ElideMiddle, width);
    return lines;
}

QSize CStatusLabel::sizeHint() const { return minimumSizeHint(); }

QSize CStatusLabel::minimumSizeHint() const {
    // Room for two lines; the width follows the window.
    const QMargins margins = contentsMargins();
    return {margins.left() + margins.right() + fontMetrics().averageCharWidth() * 10,
            margins.top() + margins.bottom() + fontMetrics().lineSpacing() * 2};
}

bool CStatusLabel::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QLabel::event(event);
    const QStringList lines = DisplayedLines();
    if (lines.join(kFieldGap) != text())
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
    else
        QToolTip::hideText();
    return true;
}

void CStatusLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const QRect area = contentsRect();
    const QStringList lines = DisplayedLines();
    const int lineHeight = fontMetrics().lineSpacing();
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(QRect(area.left(), area.top() + i * lineHeight, area.width(), lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
}
