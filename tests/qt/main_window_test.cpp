// Widget tests of the real window on the offscreen platform: layout, mirroring of the model, and
// keys, clicks, shortcuts and the voice dialog going through the core's rules.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <cmath>
#include <memory>

#include "app/dispatcher.hpp"
#include "app/session.hpp"
#include "qt/fonts.hpp"
#include "qt/main_window.hpp"
#include "qt/qt_platform.hpp"
#include "qt/voice_dialog.hpp"
#include "sim/recording_speech.hpp"

using namespace orvane;

namespace {

// Records the boxes instead of showing them, so no test waits on a modal loop.
class TestPlatform : public qt::QtPlatform {
 public:
  void messageBox(const std::string& text) override { messages.push_back(text); }
  void errorBox(const std::string& text) override { errors.push_back(text); }
  void beep() override { ++beeps; }
  std::optional<std::string> chooseQuestionFile() override { return fileAnswer; }
  std::int64_t timeOfDayMs() override { return 0; }
  std::vector<std::string> messages, errors;
  std::optional<std::string> fileAnswer;
  int beeps = 0;
};

// One running program in its own folder.
struct Program {
  explicit Program(const QString& questionFile) {
    QDir::setCurrent(dir.path());
    QFile::copy(QStringLiteral(ORVANE_DATA_DIR "/speech.ini"), dir.filePath("speech.ini"));
    if (!questionFile.isEmpty()) {
      QFile::copy(QStringLiteral(ORVANE_DATA_DIR "/") + questionFile, dir.filePath("toi.dat"));
    }
    speech.onSay([this](const Utterance& u) {
      said.push_back({u.mode, u.rate, std::string(u.text)});
    });
    window = std::make_unique<qt::MainWindow>(session, dispatcher);
    platform.attach(window.get());
    dispatcher.startUp();
    window->sync();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }

  QPushButton* button(Control c) const { return qobject_cast<QPushButton*>(window->widgetFor(c)); }
  QLabel* label(Control c) const { return qobject_cast<QLabel*>(window->widgetFor(c)); }
  // The text a label shows, as the reader sees it.
  QString shown(Control c) const {
    if (label(c)->textFormat() == Qt::PlainText) return label(c)->text();
    QTextDocument document;
    document.setHtml(label(c)->text());
    return document.toPlainText();
  }
  QStringList saidTexts() const {
    QStringList out;
    for (const Said& u : said) out << QString::fromStdString(u.text);
    return out;
  }
  QPushButton* wordButton(const char* caption) const {
    for (int k = 2; k <= 8; ++k) {
      QPushButton* b = button(orvane::wordButton(k));
      if (b->isVisible() && b->text() == caption) return b;
    }
    return nullptr;
  }

  QTemporaryDir dir;
  RecordingSpeech speech{
      {{1041, "Japanese"}, {1033, "English"}, {2057, "English (GB)"}}, 175, 80, 0};
  TestPlatform platform;
  Session session{speech, platform};
  Dispatcher dispatcher{session};
  std::unique_ptr<qt::MainWindow> window;
  struct Said {
    std::int32_t mode, speed;
    std::string text;
  };
  std::vector<Said> said;
};

// WCAG 2 contrast ratio of two colours.
double contrast(QColor a, QColor b) {
  const auto luminance = [](QColor c) {
    const auto channel = [](int v) {
      const double s = v / 255.0;
      return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What a focused button looks like at the middle of its left edge, read off the drawn window:
// how many pixels thick the ring is, and the colours of the ring, the face inside it and the
// ground outside.
struct Edge {
  int ring = 0;
  QColor ringColour, face, ground;
};

Edge leftEdge(QWidget* client, QWidget* button) {
  const QImage image = client->grab().toImage();
  const QRect g = button->geometry();
  const int y = g.center().y();
  Edge e;
  e.ground = image.pixelColor(g.left() - 2, y);
  e.ringColour = image.pixelColor(g.left(), y);
  while (e.ring < g.width() / 2 && image.pixelColor(g.left() + e.ring, y) == e.ringColour) {
    ++e.ring;
  }
  e.face = image.pixelColor(g.left() + e.ring + 2, y);
  return e;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { qt::registerFontSubstitutes(); }

  void layoutFollowsTheDesign() {
    Program p("basic.dat");
    QWidget* client = p.window->centralWidget();
    QCOMPARE(client->size(), QSize(kClientWidth, kClientHeight));
    QCOMPARE(p.window->minimumSize(), p.window->maximumSize());
    QCOMPARE(client->palette().color(QPalette::Window), QColor(255, 255, 0));
    QCOMPARE(p.button(Control::Start)->geometry(), QRect(640, 376, 97, 73));
    QCOMPARE(p.button(Control::Word7)->geometry(), QRect(640, 248, 97, 73));
    QCOMPARE(p.button(Control::ExclamationMark)->geometry(), QRect(192, 376, 57, 57));
    QCOMPARE(p.button(Control::End)->geometry(), p.button(Control::Answer)->geometry());
    QCOMPARE(p.label(Control::Prompt)->geometry(), QRect(8, 24, 681, 65));
    QVERIFY(p.shown(Control::Sentence).isEmpty());  // an empty label keeps its designed place
    QCOMPARE(p.label(Control::Sentence)->geometry(), QRect(56, 128, 665, 73));
    QCOMPARE(p.label(Control::Prompt)->palette().color(QPalette::Window), QColor(166, 202, 240));
    QCOMPARE(p.label(Control::Prompt)->font().pixelSize(), 29);
    QVERIFY(p.label(Control::Prompt)->font().bold());
    QCOMPARE(p.button(Control::Period)->font().pixelSize(), 40);
    QCOMPARE(p.button(Control::Start)->palette().color(QPalette::ButtonText), QColor(0, 0, 128));
    QCOMPARE(p.label(Control::Mark)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    // IPAPGothic stands in for the design font, and is asked for by its own name.
    QCOMPARE(p.label(Control::Prompt)->font().family(), QString("IPAPGothic"));
    QCOMPARE(QFontInfo(p.label(Control::Prompt)->font()).family(), QString("IPAPGothic"));
  }

  void widgetsMirrorTheModelAtStart() {
    Program p("basic.dat");
    QVERIFY(p.button(Control::Start)->isVisible());
    QVERIFY(p.button(Control::PlayBack)->isVisible());
    QVERIFY(!p.button(Control::Word1)->isVisible());
    QVERIFY(!p.button(Control::Erase)->isVisible());
    QCOMPARE(p.shown(Control::Prompt), QString::fromUtf8("私は学生です。"));
    QCOMPARE(p.saidTexts(), QStringList{QString::fromUtf8("私は学生です。")});
    QVERIFY(p.button(Control::PlayBack)->hasFocus());
    QVERIFY(!p.window->actionFor(Menu::SpellOut)->isEnabled());
    QCOMPARE(p.window->actionFor(Menu::SlowSpeech)->shortcut(), QKeySequence("Ctrl+S"));
    QCOMPARE(p.window->actionFor(Menu::Open)->text(), QString::fromUtf8("開く(&O)..."));
  }

  void withoutAQuestionFileNothingIsShownOrSpoken() {
    Program p("");
    for (std::size_t i = 1; i < kTabStopCount; ++i) {
      QVERIFY(!p.window->widgetFor(static_cast<Control>(i))->isVisible());
    }
    QVERIFY(p.said.empty());
    QVERIFY(!p.session.form.active());
  }

  void tabAndEnterGoThroughTheFocusRules() {
    Program p("basic.dat");
    QTest::keyClick(p.window.get(), Qt::Key_Tab);
    QCOMPARE(p.session.form.active(), std::optional(Control::Start));
    QVERIFY(p.button(Control::Start)->hasFocus());
    QVERIFY(!p.button(Control::PlayBack)->isVisible());  // PlayBack hides once left
    QCOMPARE(p.saidTexts().last(), QString("Start"));
    QTest::keyClick(p.window.get(), Qt::Key_Return);
    QVERIFY(p.button(Control::Word1)->isVisible());
    QVERIFY(!p.button(Control::Start)->isVisible());
    QVERIFY(!p.session.form.active());
    // Shift+Tab from no focus goes to the last visible button.
    QTest::keyClick(p.window.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(p.session.form.active(), std::optional(Control::ExclamationMark));
    QTest::keyClick(p.window.get(), Qt::Key_Right);
    QCOMPARE(p.session.form.active(), std::optional(Control::Word1));
    const int before = static_cast<int>(p.said.size());
    QTest::keyClick(p.window.get(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(p.session.form.active(), std::optional(Control::Word1));
    QCOMPARE(static_cast<int>(p.said.size()), before);
    // Space clicks the focused button: its word goes into the sentence.
    const QString word = p.button(Control::Word1)->text();
    QTest::keyClick(p.window.get(), Qt::Key_Space);
    QVERIFY(!p.button(Control::Word1)->isVisible());
    QVERIFY(p.shown(Control::Sentence).contains(word.left(1).toUpper()));
  }

  void theFocusRingIsThickAndStandsOutFromFaceAndGround() {
    Program p("basic.dat");
    QWidget* client = p.window->centralWidget();
    const auto check = [&](Control c) {
      QVERIFY(p.button(c)->hasFocus());
      const Edge focused = leftEdge(client, p.button(c));
      QVERIFY2(focused.ring >= 3, qPrintable(QString("ring %1 px").arg(focused.ring)));
      QVERIFY(contrast(focused.ringColour, focused.face) >= 3);
      QVERIFY(contrast(focused.ringColour, focused.ground) >= 3);
    };
    QTest::keyClick(p.window.get(), Qt::Key_Tab);
    check(Control::Start);
    QTest::keyClick(p.window.get(), Qt::Key_Return);
    // Every button stands out from the yellow ground, focused or not.
    for (Control c : {Control::Word1, Control::Period, Control::ExclamationMark}) {
      const Edge plain = leftEdge(client, p.button(c));
      QVERIFY(contrast(plain.ringColour, plain.ground) >= 3);
    }
    QTest::keyClick(p.window.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    check(Control::ExclamationMark);
    QTest::keyClick(p.window.get(), Qt::Key_Right);
    check(Control::Word1);
  }

  void theZoomKeysDrawEverythingLargerAndAreSaved() {
    Program p("basic.dat");
    QWidget* client = p.window->centralWidget();
    for (int i = 0; i < 6; ++i) {  // 100 -> 250, then held at the largest, 300
      QTest::keyClick(p.window.get(), Qt::Key_Plus, Qt::ControlModifier);
    }
    QCOMPARE(p.session.settings.values.zoom, 250);
    QTest::keyClick(p.window.get(), Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(p.window.get(), Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(client->size(), QSize(2 * kClientWidth, 2 * kClientHeight));
    QCOMPARE(p.button(Control::Start)->geometry(), QRect(1280, 752, 194, 146));
    QCOMPARE(p.label(Control::Prompt)->font().pixelSize(), 58);
    QTest::keyClick(p.window.get(), Qt::Key_Tab);
    const Edge focused = leftEdge(client, p.button(Control::Start));
    QVERIFY2(focused.ring >= 7, qPrintable(QString("ring %1 px").arg(focused.ring)));
    QFile saved(p.dir.filePath("settings.ini"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("zoom=200"));
    saved.close();
    QTest::keyClick(p.window.get(), Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(p.button(Control::Start)->geometry(), QRect(640, 376, 97, 73));
    QVERIFY(p.platform.messages.empty());
  }

  void labelsGrowToTheRightToShowTheirWholeText() {
    Program p("basic.dat");
    const QRect designed = p.label(Control::Score)->geometry();
    p.session.form.setCaption(Control::Score, "11/11 100%");
    p.session.form.setCaption(Control::Prompt, std::string(200, 'W'));
    p.window->sync();
    QLabel* score = p.label(Control::Score);
    QCOMPARE(score->geometry().topLeft(), designed.topLeft());
    QVERIFY(score->width() >= score->sizeHint().width());
    // The prompt does not grow over the PlayBack button beside it.
    QVERIFY(p.label(Control::Prompt)->geometry().right() <
            p.button(Control::PlayBack)->geometry().left());
  }

  void aMouseClickGivesTheFocusFirstThenClicks() {
    Program p("basic.dat");
    QTest::mouseClick(p.button(Control::Start), Qt::LeftButton);
    QCOMPARE(p.saidTexts().last(), QString("Start"));
    for (const char* w : {"I", "am", "a", "student"}) {
      QPushButton* b = p.wordButton(w);
      QVERIFY2(b, w);
      QTest::mouseClick(b, Qt::LeftButton);
    }
    QTest::mouseClick(p.button(Control::Period), Qt::LeftButton);
    QCOMPARE(p.button(Control::Start)->text(), QString("Speak"));
    QTest::mouseClick(p.button(Control::Start), Qt::LeftButton);
    QCOMPARE(p.shown(Control::Mark), QString::fromUtf8("○"));
    QVERIFY(p.label(Control::Mark)->isVisible());
    QCOMPARE(p.shown(Control::Score), QString("1/1 100%"));
    QCOMPARE(p.platform.beeps, 1);
    QCOMPARE(p.saidTexts().last(), QString(" I am a student."));
    // Clicking the focused button again does not speak its caption again.
    const auto count = p.said.size();
    QTest::mouseClick(p.button(Control::Start), Qt::LeftButton);
    QCOMPARE(p.said.size(), count + 1);
    QCOMPARE(p.saidTexts().last(), QString(" I am a student."));
  }

  void shortcutsRespectTheEnabledState() {
    Program p("basic.dat");
    const auto count = p.said.size();
    QTest::keyClick(p.window.get(), Qt::Key_W, Qt::ControlModifier);
    QCOMPARE(p.said.size(), count);  // N6 is disabled before the words are revealed
    QTest::keyClick(p.window.get(), Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(p.said.size(), count + 2);
    QCOMPARE(p.saidTexts().last(), QString::fromUtf8("単語数は4です。"));
    QTest::keyClick(p.window.get(), Qt::Key_Tab);
    QTest::keyClick(p.window.get(), Qt::Key_Return);
    QVERIFY(p.window->actionFor(Menu::SpellOut)->isEnabled());
    QTest::keyClick(p.window.get(), Qt::Key_W, Qt::ControlModifier);
    QCOMPARE(p.saidTexts().last(), QString("S t a r t "));
    QTest::keyClick(p.window.get(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(p.window->actionFor(Menu::SlowSpeech)->isChecked());
    QCOMPARE(p.session.voices.rate, 80);
  }

  void theVoiceDialogOkAndCancel() {
    Program p("basic.dat");
    qt::VoiceDialogWindow* dialog = p.window->voiceDialog();
    p.window->actionFor(Menu::VoiceSettings)->trigger();
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->size(), QSize(342, 423));
    QCOMPARE(dialog->japaneseList()->count(), 1);
    QCOMPARE(dialog->englishList()->count(), 2);
    QCOMPARE(dialog->englishList()->currentRow(), 0);  // English voice 2 preselected
    QVERIFY(dialog->okButton()->isDefault());

    dialog->englishList()->setCurrentRow(1);
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(p.session.voices.englishVoiceMode, 2);

    p.window->actionFor(Menu::VoiceSettings)->trigger();
    QCOMPARE(dialog->englishList()->currentRow(), 1);  // the selection left at Cancel
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(p.session.voices.englishVoiceMode, 3);
    QFile ini(p.dir.filePath("speech.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), QByteArray("0\r\n1\r\n3\r\n"));
  }

  void theVoiceDialogSaysWhileAServersVoicesAreLoading() {
    Program p("basic.dat");
    p.speech.setBuiltInVoiceModes(2);  // the English (GB) voice is the server's
    p.speech.serverVoicesListing = true;
    qt::VoiceDialogWindow* dialog = p.window->voiceDialog();
    p.window->actionFor(Menu::VoiceSettings)->trigger();
    QVERIFY(dialog->isVisible());
    QVERIFY(dialog->loadingLabel()->isVisible());
    QCOMPARE(dialog->englishList()->count(), 1);
    QCOMPARE(dialog->englishList()->accessibleDescription(), dialog->loadingLabel()->text());
    p.speech.serverVoicesListing = false;
    QTRY_VERIFY(!dialog->loadingLabel()->isVisible());
    QCOMPARE(dialog->englishList()->count(), 2);
    QCOMPARE(dialog->englishList()->currentRow(), 0);
    QVERIFY(dialog->englishList()->accessibleDescription().isEmpty());
  }

  void runTimeCaptionsShowAccessKeys() {
    Program p("basic.dat");
    p.session.form.setCaption(Control::Sentence, "Tom&Jerry & R&&B");
    p.session.form.setCaption(Control::Word1, "A&B");
    p.window->sync();
    QVERIFY(p.label(Control::Sentence)->text().contains("Tom<u>J</u>erry  R&amp;B"));
    // Blanks and tabs stand as they are stored; blanks in plain text, drawn as rich text draws
    // them, and tabs in rich text.
    const QString spaced("|   A     B   C|");
    p.session.form.setCaption(Control::Prompt, spaced.toStdString());
    p.window->sync();
    QLabel* prompt = p.label(Control::Prompt);
    QCOMPARE(prompt->textFormat(), Qt::PlainText);
    QCOMPARE(p.shown(Control::Prompt), spaced);
    QLabel rich;
    rich.setFont(prompt->font());
    rich.setPalette(prompt->palette());
    rich.setAutoFillBackground(true);
    rich.setAlignment(prompt->alignment());
    rich.resize(prompt->size());
    rich.setTextFormat(Qt::RichText);
    rich.setText("<span style=\"white-space:pre\">" + spaced + "</span>");
    QCOMPARE(prompt->grab().toImage(), rich.grab().toImage());
    p.session.form.setCaption(Control::Prompt, "|  A\tC|");
    p.window->sync();
    QCOMPARE(prompt->textFormat(), Qt::RichText);
    QCOMPARE(p.shown(Control::Prompt), QString("|  A\tC|"));
    QCOMPARE(p.button(Control::Word1)->text(), QString("A&B"));  // Qt's own mnemonic
  }

  void theScanTimerFollowsTheModel() {
    Program p("basic.dat");
    p.window->actionFor(Menu::AutoScan)->trigger();
    auto* timer = p.window->findChild<QTimer*>("Timer1");
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 4500);
    QTest::keyClick(p.window.get(), Qt::Key_Tab);
    QTest::keyClick(p.window.get(), Qt::Key_Return);
    QCOMPARE(timer->interval(), 4000);
    p.window->actionFor(Menu::AutoScan)->trigger();
    QVERIFY(!timer->isActive());
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
