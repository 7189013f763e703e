// The voice dialog: two lists of voice modes, Japanese and English, with OK and Cancel. It shows
// the core's dialog model and sends every choice through the dispatcher.
#pragma once

#include <QDialog>

#include "app/dispatcher.hpp"
#include "app/session.hpp"

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace orvane::qt {

class VoiceDialogWindow : public QDialog {
  Q_OBJECT

 public:
  VoiceDialogWindow(Session& session, Dispatcher& dispatcher, QWidget* parent);

  void openFromModel();
  void closeFromModel();

  QListWidget* japaneseList() const { return list1_; }
  QListWidget* englishList() const { return list2_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }
  // Shown while the lists wait for a speech server's voices.
  QLabel* loadingLabel() const { return loading_; }

 signals:
  // An event of the dialog has been handled; the main window mirrors the model again.
  void settled();

 public slots:
  // Esc, the close box and Cancel all close the dialog without a change.
  void reject() override;

 private:
  void fill(QListWidget* list, const std::vector<std::string>& items, int selected);
  void fillFromModel();

  Session& session_;
  Dispatcher& dispatcher_;
  QListWidget* list1_;
  QListWidget* list2_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QLabel* loading_;
  QTimer* refresh_;
  bool closingFromModel_ = false;
};

}  // namespace orvane::qt
