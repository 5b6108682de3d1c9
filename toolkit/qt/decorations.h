// Controls that only paint: the picture box, lines and the filled rectangle.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace toolkit::qt {

// Shows a picture at its top-left corner, unscaled, on a white background; a tab stop.
class PictureBox : public QWidget {
  public:
    PictureBox(QWidget* parent, QPixmap picture);

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QPixmap picture_;
};

// A straight one-pixel line between two points given in the parent's coordinates.
class LineShape : public QWidget {
  public:
    LineShape(QWidget* parent, QPoint from, QPoint to, QColor color);

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QPoint from_, to_;
    QColor color_;
};

// A rectangle filled with one colour and a one-pixel border.
class FilledRectangle : public QWidget {
  public:
    FilledRectangle(QWidget* parent, QColor fill, QColor border);

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QColor fill_, border_;
};

}  // namespace toolkit::qt
