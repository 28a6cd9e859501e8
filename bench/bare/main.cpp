// The smallest Qt Widgets program with a window of Tolvaro's size: the yardstick for Tolvaro's
// start-up time and memory in bench/startup.sh. With --practice it also has a check button, a
// next button and a column of ten verdict labels where Tolvaro has them: the yardstick for the
// time from a click to the repainted verdicts.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <cstring>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("bare"));
  window.setFixedSize(809, 646);
  QList<QLabel*> verdicts;
  if (argc > 1 && std::strcmp(argv[1], "--practice") == 0) {
    auto* check = new QPushButton(QStringLiteral("CONTROLEER"), &window);
    check->setGeometry(397, 455, 136, 23);
    auto* next = new QPushButton(QStringLiteral("VOLGENDE OEFENING"), &window);
    next->setGeometry(68, 456, 262, 24);
    for (int row = 0; row < 10; ++row) {
      verdicts << new QLabel(&window);
      verdicts.back()->setGeometry(490, 170 + row * 27, 68, 16);
    }
    QObject::connect(check, &QPushButton::clicked, [&verdicts] {
      for (QLabel* label : verdicts) label->setText(QStringLiteral("FOUT"));
    });
    QObject::connect(next, &QPushButton::clicked, [&verdicts] {
      for (QLabel* label : verdicts) label->clear();
    });
  }
  window.show();
  return app.exec();
}
