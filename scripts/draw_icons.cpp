// Draws the bundled pictures of the window (src/main/window/resources): the four tool-bar
// images and the window icon. They stand in where the desktop's icon theme has no
// picture of its own. Not part of the build; run once after changing a picture:
//   g++ -std=c++20 -fPIC scripts/draw_icons.cpp -o /tmp/draw_icons \
//       $(pkg-config --cflags --libs Qt6Gui) && QT_QPA_PLATFORM=offscreen /tmp/draw_icons
//       src/main/window/resources
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {

void Save(const QString& dir, const QString& name, int size,
          const std::function<void(QPainter&)>& draw) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  draw(p);
  p.end();
  image.save(dir + "/" + name + ".png");
}

// An open folder: the back in dark yellow, the front flap tilted over it.
void Folder(QPainter& p) {
  p.setPen(QPen(QColor(120, 90, 10), 1));
  p.setBrush(QColor(230, 180, 50));
  p.drawPolygon(
      QPolygonF({{1.5, 3.5}, {6.5, 3.5}, {7.5, 5.5}, {13.5, 5.5}, {13.5, 13.5}, {1.5, 13.5}}));
  p.setBrush(QColor(255, 215, 90));
  p.drawPolygon(QPolygonF({{3.5, 7.5}, {15.5, 7.5}, {13.5, 13.5}, {1.5, 13.5}}));
}

// Two sheets flowing into one: the merge.
void Merge(QPainter& p) {
  p.setPen(QPen(QColor(40, 70, 140), 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(0.5, 0.5, 6, 7));
  p.drawRect(QRectF(9.5, 0.5, 6, 7));
  p.setBrush(QColor(200, 225, 255));
  p.drawRect(QRectF(4.5, 9.5, 7, 6));
  p.setPen(QPen(QColor(20, 130, 40), 1.5));
  p.drawLine(QPointF(3.5, 8), QPointF(6.5, 10.5));
  p.drawLine(QPointF(12.5, 8), QPointF(9.5, 10.5));
}

// A floppy disk.
void Disk(QPainter& p) {
  p.setPen(QPen(QColor(20, 30, 90), 1));
  p.setBrush(QColor(50, 80, 180));
  p.drawPolygon(QPolygonF({{1.5, 1.5}, {13.5, 1.5}, {14.5, 2.5}, {14.5, 14.5}, {1.5, 14.5}}));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4, 2, 8, 5));
  p.setBrush(QColor(190, 190, 200));
  p.drawRect(QRectF(4, 9.5, 8, 5));
  p.setBrush(QColor(50, 80, 180));
  p.drawRect(QRectF(9, 3, 2, 3));
}

// A door with an arrow leaving it: exit.
void Exit(QPainter& p) {
  p.setPen(QPen(QColor(90, 50, 20), 1));
  p.setBrush(QColor(170, 110, 60));
  p.drawRect(QRectF(1.5, 1.5, 8, 13));
  p.setBrush(QColor(250, 220, 80));
  p.drawEllipse(QPointF(7.5, 8.5), 0.8, 0.8);
  p.setPen(QPen(QColor(200, 30, 30), 2));
  p.drawLine(QPointF(8, 8), QPointF(14, 8));
  p.drawLine(QPointF(11.5, 5), QPointF(14.5, 8));
  p.drawLine(QPointF(11.5, 11), QPointF(14.5, 8));
}

// The program's own picture: a script sheet with quoted lines and a merge arrow.
void Program(QPainter& p) {
  p.setPen(QPen(QColor(30, 40, 90), 1.5));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(3.5, 2.5, 19, 25));
  p.setPen(QPen(QColor(40, 70, 140), 1.5));
  for (int y = 7; y <= 23; y += 4) p.drawLine(QPointF(6.5, y), QPointF(19.5, y));
  p.setPen(QPen(QColor(200, 40, 40), 2));
  p.drawText(QRectF(5, 3, 16, 10), Qt::AlignCenter, "\"\"");
  p.setPen(QPen(QColor(20, 130, 40), 3));
  p.drawLine(QPointF(16, 20), QPointF(29, 20));
  p.drawLine(QPointF(24, 15), QPointF(29.5, 20));
  p.drawLine(QPointF(24, 25), QPointF(29.5, 20));
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(".");
  Save(dir, "open", 16, Folder);
  Save(dir, "merge", 16, Merge);
  Save(dir, "save", 16, Disk);
  Save(dir, "exit", 16, Exit);
  Save(dir, "vaskarel", 32, Program);
  return 0;
}
