// The settings dialog on the offscreen platform: every field named and reached by Tab, the values
// it gives back, and a results name settings.ini could not take refused.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "qt/settings_dialog.hpp"

using namespace orvane;

class SettingsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void everyFieldIsNamedAndOnTheTabChain() {
    qt::SettingsDialog d(Settings{}, nullptr);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QList<QWidget*> fields;
    for (QWidget* w : d.findChildren<QWidget*>()) {
      if (qobject_cast<QCheckBox*>(w) || qobject_cast<QSpinBox*>(w) ||
          qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w)) {
        if (qobject_cast<QLineEdit*>(w) && qobject_cast<QSpinBox*>(w->parentWidget())) continue;
        fields << w;
      }
    }
    QCOMPARE(fields.size(), 11);  // one for every setting
    QSet<QWidget*> reached;
    QWidget* first = d.focusWidget();
    QVERIFY(first);
    for (int i = 0; i < 40 && reached.size() < fields.size(); ++i) {
      QWidget* f = QApplication::focusWidget();
      if (qobject_cast<QLineEdit*>(f) && qobject_cast<QSpinBox*>(f->parentWidget())) {
        f = f->parentWidget();
      }
      if (fields.contains(f)) reached << f;
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(reached.size(), fields.size());
    for (QWidget* f : fields) QVERIFY2(!f->accessibleName().isEmpty(), qPrintable(f->objectName()));
  }

  void givesBackWhatItShowsAsChanged() {
    Settings s;
    s.scanPercent = 150;
    s.results = "record.csv";
    s.screenReader = ScreenReaderMode::Off;
    qt::SettingsDialog d(s, nullptr);
    QCOMPARE(d.values(), s);
    d.findChild<QCheckBox*>("AutoScanAtStart")->setChecked(true);
    d.findChild<QSpinBox*>("ScanRounds")->setValue(3);
    d.findChild<QSpinBox*>("Zoom")->setValue(225);
    d.findChild<QComboBox*>("ScreenReader")->setCurrentIndex(1);
    d.findChild<QLineEdit*>("Results")->setText("  other.csv ");
    const Settings v = d.values();
    QVERIFY(v.autoScan);
    QCOMPARE(v.scanRounds, 3);
    QCOMPARE(v.zoom, 225);
    QCOMPARE(v.screenReader, ScreenReaderMode::On);
    QCOMPARE(v.results, std::string("other.csv"));
    QCOMPARE(v.scanPercent, 150);
  }

  void aResultsPathOutsideTheFolderKeepsTheDialogOpen() {
    qt::SettingsDialog d(Settings{}, nullptr);
    d.findChild<QLineEdit*>("Results")->setText("../elsewhere.csv");
    d.show();
    bool warned = false;
    QTimer::singleShot(0, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        warned = true;
        box->accept();
      }
    });
    d.accept();
    QVERIFY(warned);
    QVERIFY(d.isVisible());
    QCOMPARE(d.result(), 0);
    d.findChild<QLineEdit*>("Results")->setText("here.csv");
    d.accept();
    QCOMPARE(d.result(), int(QDialog::Accepted));
  }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
