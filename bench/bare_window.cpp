// The reference for the window's start-up: a bare Qt window of the same size and colour,
// started the same way, with nothing of the program in it.
#include <QApplication>
#include <QMainWindow>
#include <QPalette>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle("Bare");
  auto* client = new QWidget(&window);
  client->setFixedSize(768, 494);
  QPalette p = client->palette();
  p.setColor(QPalette::Window, QColor(255, 255, 0));
  client->setPalette(p);
  client->setAutoFillBackground(true);
  window.setCentralWidget(client);
  window.show();
  return app.exec();
}
