// The smallest Qt Widgets program with a window of Tolvaro's size: the
// yardstick for Tolvaro's start-up time and memory in bench/startup.sh.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("bare"));
  window.setFixedSize(809, 646);
  window.show();
  return app.exec();
}
