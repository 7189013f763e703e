#include "qt/voice_dialog.hpp"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "qt/fonts.hpp"

namespace orvane::qt {

VoiceDialogWindow::VoiceDialogWindow(Session& session, Dispatcher& dispatcher, QWidget* parent)
    : QDialog(parent), session_(session), dispatcher_(dispatcher) {
  setObjectName("Form2");
  setWindowTitle(QString::fromUtf8("音声設定"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setWindowModality(Qt::WindowModal);
  setFixedSize(342, 423);
  setFont(designFont(24, true));
  setPalette(QApplication::palette());

  auto* label1 = new QLabel(QString::fromUtf8("日本語"), this);
  label1->setObjectName("Label1");
  label1->setGeometry(8, 8, 75, 24);
  list1_ = new QListWidget(this);
  list1_->setObjectName("ListBox1");
  list1_->setGeometry(8, 40, 321, 129);
  label1->setBuddy(list1_);
  auto* label2 = new QLabel(QString::fromUtf8("英語"), this);
  label2->setObjectName("Label2");
  label2->setGeometry(8, 184, 50, 24);
  list2_ = new QListWidget(this);
  list2_->setObjectName("ListBox2");
  list2_->setGeometry(8, 216, 321, 129);
  label2->setBuddy(list2_);
  // Assistive technology names each list after the label above it.
  list1_->setAccessibleName(label1->text());
  list2_->setAccessibleName(label2->text());
  for (QListWidget* list : {list1_, list2_}) {
    list->setFont(designFont(13));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSortingEnabled(false);
  }
  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("Button1");
  ok_->setGeometry(40, 360, 113, 49);
  ok_->setFont(designFont(24, true));
  ok_->setDefault(true);
  cancel_ = new QPushButton(QString::fromUtf8("キャンセル"), this);
  cancel_->setObjectName("Button2");
  cancel_->setGeometry(192, 360, 105, 49);
  cancel_->setFont(designFont(21, true));
  // Beside the first list's label while a speech server's voices are being listed; the lists
  // are asked again every tenth of a second.
  loading_ = new QLabel(QString::fromUtf8("音声を読み込んでいます…"), this);
  loading_->setObjectName("LoadingLabel");
  loading_->setGeometry(90, 8, 240, 24);
  loading_->setFont(designFont(13));
  loading_->hide();
  refresh_ = new QTimer(this);
  refresh_->setInterval(100);
  connect(refresh_, &QTimer::timeout, this, [this] {
    if (!session_.dialog.loading || !isVisible()) return refresh_->stop();
    if (dispatcher_.dialogRefresh()) fillFromModel();
  });
  setTabOrder(list1_, list2_);
  setTabOrder(list2_, ok_);
  setTabOrder(ok_, cancel_);

  auto select = [this](int list, int row) {
    if (row < 0) return;
    dispatcher_.dialogSelect(list, row);
  };
  connect(list1_, &QListWidget::currentRowChanged, this, [select](int row) { select(1, row); });
  connect(list2_, &QListWidget::currentRowChanged, this, [select](int row) { select(2, row); });
  connect(ok_, &QPushButton::clicked, this, [this] {
    dispatcher_.dialogOk();
    emit settled();
  });
  connect(cancel_, &QPushButton::clicked, this, [this] { reject(); });
}

void VoiceDialogWindow::fill(QListWidget* list, const std::vector<std::string>& items,
                             int selected) {
  const QSignalBlocker block(list);
  list->clear();
  for (const std::string& item : items) list->addItem(QString::fromUtf8(item));
  list->setCurrentRow(selected);
  if (selected < 0) list->clearSelection();
}

void VoiceDialogWindow::fillFromModel() {
  fill(list1_, session_.dialog.japaneseItems, session_.dialog.selected1);
  fill(list2_, session_.dialog.englishItems, session_.dialog.selected2);
  const bool loading = session_.dialog.loading;
  loading_->setVisible(loading);
  for (QListWidget* list : {list1_, list2_}) {
    list->setAccessibleDescription(loading ? loading_->text() : QString());
  }
  if (loading) {
    refresh_->start();
  } else {
    refresh_->stop();
  }
}

void VoiceDialogWindow::openFromModel() {
  fillFromModel();
  // In the middle of the desktop, wherever the main window stands.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  list1_->setFocus();
  open();
}

void VoiceDialogWindow::closeFromModel() {
  closingFromModel_ = true;
  done(QDialog::Accepted);
  closingFromModel_ = false;
}

void VoiceDialogWindow::reject() {
  if (closingFromModel_) return QDialog::reject();
  dispatcher_.dialogCancel();
  emit settled();
}

}  // namespace orvane::qt
