// The settings dialog: every setting of settings.ini, in Japanese, each control named for
// assistive technology and reached with Tab alone. It edits a copy; OK gives it back.
#pragma once

#include <QDialog>

#include "app/settings.hpp"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace orvane::qt {

class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  SettingsDialog(const Settings& current, QWidget* parent);

  // The values as the dialog shows them now.
  Settings values() const;

 public slots:
  // A results name that settings.ini could not take keeps the dialog open, saying why.
  void accept() override;

 private:
  Settings base_;
  QCheckBox* autoScan_;
  QSpinBox* scanPercent_;
  QCheckBox* scanWaits_;
  QSpinBox* scanRounds_;
  QSpinBox* switchGuard_;
  QCheckBox* speakVerdict_;
  QSpinBox* zoom_;
  QComboBox* screenReader_;
  QLineEdit* results_;
  QCheckBox* reviewMissed_;
  QCheckBox* keepRightWords_;
};

}  // namespace orvane::qt
