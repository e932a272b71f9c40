// The floor of start-up as the user sees it: the least a Qt Widgets program
// that shows the designer's three faces pays before its window appears. A
// window of 650 × 350 that fills white and writes one line in each face.
#include <QApplication>
#include <QPainter>
#include <QWidget>

class Faces final : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    int y = 30;
    for (const char* face : {"Comic Neue", "DejaVu Sans Condensed", "DejaVu Sans"}) {
      p.setFont(QFont(face));
      p.drawText(20, y, "Astable, Duty Cycle > 50%  R1 7.214K");
      y += 40;
    }
  }
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Faces window;
  window.setWindowTitle("timer555 floor");
  window.setFixedSize(650, 350);
  window.show();
  return QApplication::exec();
}
