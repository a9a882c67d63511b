// Draws the program's pictures: the four tool-bar images of the window
// (src/window/qt/resources), which stand in where the desktop's icon theme has no
// picture of its own, and the program's icon, rendered from its drawing
// dist/linux/icons/hicolor/scalable/apps/org.vaskarel.Vaskarel.svg into the window's
// own 32-pixel picture and the theme's 48, 64, 128 and 256-pixel PNGs beside it. Not
// part of the build; scripts/draw_icons.sh runs it after a picture has changed, and its
// output is committed.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <cstdio>
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

// The program's icon from its drawing, size pixels square.
bool Render(QSvgRenderer& drawing, const QString& file, int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  drawing.render(&p);
  p.end();
  return QDir().mkpath(file.section('/', 0, -2)) && image.save(file);
}

}  // namespace

// The argument is the repository's folder (the current one when none is given).
int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(".");
  const QString resources = root + "/src/window/qt/resources";
  Save(resources, "open", 16, Folder);
  Save(resources, "merge", 16, Merge);
  Save(resources, "save", 16, Disk);
  Save(resources, "exit", 16, Exit);

  const QString hicolor = root + "/dist/linux/icons/hicolor";
  QSvgRenderer drawing(hicolor + "/scalable/apps/org.vaskarel.Vaskarel.svg");
  if (!drawing.isValid()) {
    std::fprintf(stderr, "draw_icons: the icon's drawing cannot be read\n");
    return 1;
  }
  bool ok = Render(drawing, resources + "/vaskarel.png", 32);
  for (int size : {48, 64, 128, 256}) {
    const QString name = QString::number(size) + "x" + QString::number(size);
    ok = Render(drawing, hicolor + "/" + name + "/apps/org.vaskarel.Vaskarel.png", size) && ok;
  }
  return ok ? 0 : 1;
}
