#include "qt/help_viewer.hpp"

#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "qt/fonts.hpp"

namespace orvane::qt {

void HelpViewer::show(const std::string& path, QWidget* owner) {
  static QPointer<QDialog> window;
  if (!window) {
    window = new QDialog(owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QString::fromUtf8("Orvane ヘルプ"));
    window->resize(640, 560);
    auto* layout = new QVBoxLayout(window);
    auto* browser = new QTextBrowser(window);
    browser->setObjectName("helpBrowser");
    browser->setFont(designFont(16));
    browser->setOpenExternalLinks(false);
    layout->addWidget(browser);
    // Without a window manager nobody gives the keyboard back when the help closes.
    if (owner) {
      QObject::connect(window, &QDialog::finished, owner, [owner] {
        if (owner->isVisible()) owner->activateWindow();
      });
    }
  }
  auto* browser = window->findChild<QTextBrowser*>("helpBrowser");
  browser->setSource(QUrl::fromLocalFile(QString::fromStdString(path)),
                     QTextDocument::HtmlResource);
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace orvane::qt
