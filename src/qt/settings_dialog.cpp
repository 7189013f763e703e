#include "qt/settings_dialog.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QVBoxLayout>

#include "qt/look.hpp"

namespace orvane::qt {

namespace {

QString u8(const char* text) {
  return QString::fromUtf8(text);
}

QCheckBox* checkBox(QWidget* parent, const char* objectName, const char* text, bool on) {
  auto* box = new QCheckBox(u8(text), parent);
  box->setObjectName(objectName);
  box->setChecked(on);
  box->setAccessibleName(box->text().remove('&'));
  return box;
}

QSpinBox* spinBox(QWidget* parent, const char* objectName, int min, int max, int step, int value,
                  const QString& suffix) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(objectName);
  box->setRange(min, max);
  box->setSingleStep(step);
  box->setValue(value);
  box->setSuffix(suffix);
  return box;
}

// A labelled row: the label names its field for assistive technology and gives the access key.
void addRow(QFormLayout* form, const char* text, QWidget* field) {
  auto* label = new QLabel(u8(text), field->parentWidget());
  label->setBuddy(field);
  field->setAccessibleName(label->text().remove('&'));
  form->addRow(label, field);
}

}  // namespace

SettingsDialog::SettingsDialog(const Settings& current, QWidget* parent)
    : QDialog(parent), base_(current) {
  setObjectName("SettingsDialog");
  setWindowTitle(u8("設定"));
  setStyleSheet(drillStyleSheet());
  auto* form = new QFormLayout;
  autoScan_ = checkBox(this, "AutoScanAtStart", "起動したらスキャンを始める(&A)", current.autoScan);
  form->addRow(autoScan_);
  scanPercent_ = spinBox(this, "ScanPercent", 25, 400, 25, current.scanPercent, u8(" %"));
  addRow(form, "スキャンの間隔 (100 % が標準、大きいほどゆっくり)(&I)", scanPercent_);
  scanWaits_ = checkBox(this, "ScanWaitsForSpeech", "話し終わるまでスキャンを待つ(&W)",
                        current.scanWaitsForSpeech);
  form->addRow(scanWaits_);
  scanRounds_ = spinBox(this, "ScanRounds", 0, 1000, 1, current.scanRounds, u8(" 周"));
  scanRounds_->setSpecialValueText(u8("止めない"));
  addRow(form, "押さないとスキャンを止めるまでの周回(&R)", scanRounds_);
  switchGuard_ = spinBox(this, "SwitchGuard", 0, 10000, 50, current.switchGuardMs, u8(" ミリ秒"));
  addRow(form, "続けて押しても受け付けない時間(&G)", switchGuard_);
  speakVerdict_ =
      checkBox(this, "SpeakVerdict", "正解か違うかと点数を読み上げる(&V)", current.speakVerdict);
  form->addRow(speakVerdict_);
  zoom_ = spinBox(this, "Zoom", kMinZoom, kMaxZoom, 25, current.zoom, u8(" %"));
  addRow(form, "画面の拡大(&Z)", zoom_);
  screenReader_ = new QComboBox(this);
  screenReader_->setObjectName("ScreenReader");
  screenReader_->addItems({u8("動いていれば合わせる"), u8("合わせる"), u8("合わせない")});
  screenReader_->setCurrentIndex(static_cast<int>(current.screenReader));
  addRow(form, "スクリーンリーダーに合わせる(&S)", screenReader_);
  results_ = new QLineEdit(QString::fromStdString(current.results), this);
  results_->setObjectName("Results");
  addRow(form, "結果を記録するファイル (空: 記録しない)(&F)", results_);
  reviewMissed_ =
      checkBox(this, "ReviewMissed", "間違えた問題を最後にもう一度(&M)", current.reviewMissed);
  form->addRow(reviewMissed_);
  keepRightWords_ = checkBox(this, "KeepRightWords", "消すとき正しいはじめの単語を残す(&K)",
                             current.keepRightWords);
  form->addRow(keepRightWords_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

Settings SettingsDialog::values() const {
  Settings v = base_;
  v.autoScan = autoScan_->isChecked();
  v.scanPercent = scanPercent_->value();
  v.scanWaitsForSpeech = scanWaits_->isChecked();
  v.scanRounds = scanRounds_->value();
  v.switchGuardMs = switchGuard_->value();
  v.speakVerdict = speakVerdict_->isChecked();
  v.zoom = zoom_->value();
  v.screenReader = static_cast<ScreenReaderMode>(screenReader_->currentIndex());
  v.results = results_->text().trimmed().toStdString();
  v.reviewMissed = reviewMissed_->isChecked();
  v.keepRightWords = keepRightWords_->isChecked();
  return v;
}

void SettingsDialog::accept() {
  if (!usableResultsName(values().results)) {
    QMessageBox::warning(
        this, windowTitle(),
        u8("結果を記録するファイルは、このフォルダーのファイル名で指定してください。"));
    results_->setFocus();
    return;
  }
  QDialog::accept();
}

}  // namespace orvane::qt
