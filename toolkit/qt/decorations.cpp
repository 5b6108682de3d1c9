#include "toolkit/qt/decorations.h"

#include <QPainter>
#include <algorithm>

namespace toolkit::qt {

PictureBox::PictureBox(QWidget* parent, QPixmap picture)
    : QWidget(parent), picture_(std::move(picture)) {
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawPixmap(0, 0, picture_);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

LineShape::LineShape(QWidget* parent, QPoint from, QPoint to, QColor color)
    : QWidget(parent), from_(from), to_(to), color_(color) {
    const QRect bounds = QRect(from, to).normalized();
    setGeometry(bounds);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void LineShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(color_, 1));
    painter.drawLine(from_ - pos(), to_ - pos());
}

FilledRectangle::FilledRectangle(QWidget* parent, QColor fill, QColor border)
    : QWidget(parent), fill_(fill), border_(border) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void FilledRectangle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), fill_);
    painter.setPen(QPen(border_, 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace toolkit::qt
