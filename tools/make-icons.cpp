// Renders the program's logo as the desktop icons that installations put in
// the hicolor icon theme: PNG pictures of the usual sizes and one scalable
// SVG picture, all drawn by the same code as the window's own icon. Run by
// hand when the logo changes; the build only installs the files this writes.
//
// Usage: make-icons FOLDER DESKTOP-ID
//
// Writes FOLDER/hicolor/NxN/apps/DESKTOP-ID.png for each size and
// FOLDER/hicolor/scalable/apps/DESKTOP-ID.svg.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "window/style/Logo.h"

namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr int kScalableSize = 256;

// The folder of one size of the theme, made if missing.
QString AppsFolder(const QString& root, const QString& size) {
  const QString folder = QDir(root).filePath("hicolor/" + size + "/apps");
  if (!QDir().mkpath(folder)) throw std::runtime_error("Cannot create folder " + folder.toStdString());
  return folder;
}

void WritePng(const QString& root, const QString& id, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintLogo(painter, size);
  }
  const QString file = QDir(AppsFolder(root, QString("%1x%1").arg(size))).filePath(id + ".png");
  if (!image.save(file, "PNG")) throw std::runtime_error("Cannot write " + file.toStdString());
}

void WriteSvg(const QString& root, const QString& id) {
  const QString file = QDir(AppsFolder(root, "scalable")).filePath(id + ".svg");
  QSvgGenerator svg;
  svg.setFileName(file);
  svg.setSize(QSize(kScalableSize, kScalableSize));
  svg.setViewBox(QRect(0, 0, kScalableSize, kScalableSize));
  svg.setTitle("Orbilux Rezoziv");
  svg.setDescription("A photo inside a circular arrow: the object turned by dragging.");
  QPainter painter;
  if (!painter.begin(&svg)) throw std::runtime_error("Cannot write " + file.toStdString());
  painter.setRenderHint(QPainter::Antialiasing);
  PaintLogo(painter, kScalableSize);
  painter.end();

  // The generator gives the size in millimetres; icons give it in pixels.
  QFile text(file);
  if (!text.open(QIODevice::ReadOnly)) throw std::runtime_error("Cannot read " + file.toStdString());
  QString markup = QString::fromUtf8(text.readAll());
  text.close();
  markup.replace(QRegularExpression(R"(<svg width="[^"]*" height="[^"]*")"),
                 QString(R"(<svg width="%1" height="%1")").arg(kScalableSize));
  if (!text.open(QIODevice::WriteOnly | QIODevice::Truncate) || text.write(markup.toUtf8()) < 0) {
    throw std::runtime_error("Cannot write " + file.toStdString());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FOLDER DESKTOP-ID\n", argv[0]);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString root = QString::fromLocal8Bit(argv[1]);
  const QString id = QString::fromLocal8Bit(argv[2]);
  try {
    for (int size : kSizes) WritePng(root, id, size);
    WriteSvg(root, id);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
