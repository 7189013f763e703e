#include "qt/main_window.hpp"

#include <algorithm>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

#include "app/learner_settings.hpp"
#include "core/text.hpp"
#include "qt/fonts.hpp"
#include "qt/look.hpp"
#include "qt/voice_dialog.hpp"
#include "window/caption.hpp"

namespace orvane::qt {

MainWindow::MainWindow(Session& session, Dispatcher& dispatcher)
    : session_(session), dispatcher_(dispatcher) {
  setWindowTitle("Orvane");
  setStyleSheet(drillStyleSheet());
  client_ = new QWidget(this);
  client_->setObjectName("Form1");
  // Where the focus rests when no button has it: named after the window for assistive
  // technology.
  client_->setAccessibleName(windowTitle());
  client_->setFixedSize(kClientWidth, kClientHeight);
  client_->setFocusPolicy(Qt::StrongFocus);
  client_->setFont(designFont(12));
  setBackground(client_, QColor(255, 255, 0));
  setCentralWidget(client_);
  buildControls(client_);
  buildMenus();

  scanTimer_.setObjectName("Timer1");
  connect(&scanTimer_, &QTimer::timeout, this,
          [this] { dispatch([this] { dispatcher_.tick(); }); });
  // A scan that waits for speech looks at the speech ten times a second.
  speechWatch_.setInterval(100);
  connect(&speechWatch_, &QTimer::timeout, this,
          [this] { dispatch([this] { dispatcher_.holdScanWhileSpeaking(); }); });
  qApp->installEventFilter(this);

  // The window keeps its size: minimum and maximum alike.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  sync();
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
}

void MainWindow::buildControls(QWidget* client) {
  for (const Place& p : buttonPlaces()) {
    auto* b = new QPushButton(client);
    b->setObjectName(QString::fromUtf8(controlName(p.control).data()));
    b->setGeometry(p.left, p.top, p.width, p.height);
    b->setFont(designFont(p.fontPx, p.bold));
    // The model decides where the focus goes (Tab is the model's, and a click gives the focus
    // through the model); the policy only tells assistive technology that it can take it.
    b->setFocusPolicy(Qt::TabFocus);
    b->setAutoDefault(false);
    const Control c = p.control;
    connect(b, &QPushButton::clicked, this,
            [this, c] { dispatch([this, c] { dispatcher_.click(c); }); });
    widgets_[static_cast<std::size_t>(c)] = b;
  }
  for (const Place& p : labelPlaces()) {
    auto* l = new QLabel(client);
    l->setObjectName(QString::fromUtf8(controlName(p.control).data()));
    l->setGeometry(p.left, p.top, p.width, p.height);
    l->setFont(designFont(p.fontPx, p.bold));
    l->setWordWrap(false);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    widgets_[static_cast<std::size_t>(p.control)] = l;
  }
  auto* japanease = static_cast<QLabel*>(widgetFor(Control::Prompt));
  setBackground(japanease, QColor(166, 202, 240));
  japanease->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  auto* sentence = static_cast<QLabel*>(widgetFor(Control::Sentence));
  setBackground(sentence, palette().color(QPalette::Light));
  sentence->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  auto* score = static_cast<QLabel*>(widgetFor(Control::Mark));
  QPalette red = score->palette();
  red.setColor(QPalette::WindowText, QColor(255, 0, 0));
  score->setPalette(red);
  score->setAttribute(Qt::WA_TranslucentBackground);
}

void MainWindow::buildMenus() {
  std::array<QMenu*, kMenuCount> menus{};
  for (Menu bar : {Menu::FileMenu, Menu::OperationMenu, Menu::HelpMenu}) {
    QMenu* m = menuBar()->addMenu(QString::fromUtf8(session_.form.menu(bar).caption));
    m->setObjectName(QString::fromUtf8(menuName(bar).data()));
    menus[static_cast<std::size_t>(bar)] = m;
    actions_[static_cast<std::size_t>(bar)] = m->menuAction();
  }
  for (const MenuPlace& item : menuPlaces()) {
    const MenuState& st = session_.form.menu(item.menu);
    QMenu* parent = menus[static_cast<std::size_t>(item.parent)];
    QAction* a;
    if (st.caption == "-") {
      a = parent->addSeparator();
    } else {
      a = parent->addAction(QString::fromUtf8(st.caption));
      if (st.shortcut) {
        a->setShortcut(
            QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_A + (st.shortcut - 'A'))));
        a->setShortcutContext(Qt::WindowShortcut);
        // A held key says it once: repeats would queue the same speech over and over.
        a->setAutoRepeat(false);
      }
      a->setCheckable(item.menu == Menu::SlowSpeech || item.menu == Menu::AutoScan);
      const Menu m = item.menu;
      connect(a, &QAction::triggered, this, [this, m] {
        if (m == Menu::Exit) return void(close());
        dispatch([this, m] { dispatcher_.menu(m); });
      });
    }
    a->setObjectName(QString::fromUtf8(menuName(item.menu).data()));
    actions_[static_cast<std::size_t>(item.menu)] = a;
  }
}

template <class F>
void MainWindow::dispatch(F&& f) {
  if (finished_) return;
  f();
  sync();
  if (dispatcher_.finished()) {
    finished_ = true;
    if (onFinished_) onFinished_();
    QMetaObject::invokeMethod(
        this, [this] { close(); }, Qt::QueuedConnection);
  }
}

void MainWindow::fitWidth(Control c, QLabel* label) {
  const Place* p = placeOf(c);
  if (!p) return;
  const int z = appliedZoom_;
  const int width = zoomed(p->width, z), height = zoomed(p->height, z);
  // An empty label keeps its designed width; its font need not be loaded to tell.
  if (label->text().isEmpty()) return label->resize(width, height);
  // The prompt keeps its width (PlayBack stands beside it); the others may grow to the edge
  // of the client area.
  const int widest =
      c == Control::Prompt ? width : zoomed(kClientWidth, z) - 4 - zoomed(p->left, z);
  label->resize(std::clamp(label->sizeHint().width(), width, widest), height);
}

void MainWindow::sync() {
  applyZoom();
  const Form& form = session_.form;
  // What becomes visible is shown first and what goes away is hidden last, after the focus has
  // moved where the model has it: Qt would otherwise hand the focus of a hidden button to the
  // next one in line, and assistive technology would announce a button the learner never
  // reached.
  std::vector<QWidget*> hiding;
  for (std::size_t i = 1; i < kControlCount; ++i) {
    const auto c = static_cast<Control>(i);
    QWidget* w = widgets_[i];
    const ControlState& st = form.control(c);
    const std::string_view part = shownPart(st.caption);
    if (shownCaptions_[i] != part) {
      shownCaptions_[i] = std::string(part);
      if (auto* b = qobject_cast<QPushButton*>(w)) {
        b->setText(QString::fromUtf8(part.data(), static_cast<qsizetype>(part.size())));
      } else if (auto* l = qobject_cast<QLabel*>(w)) {
        showOnLabel(l, part);
        fitWidth(c, l);
      }
    }
    if (w->isVisibleTo(client_) != st.visible) {
      if (st.visible) {
        w->show();
      } else {
        hiding.push_back(w);
      }
    }
  }
  for (std::size_t i = 0; i < kMenuCount; ++i) {
    const MenuState& st = form.menu(static_cast<Menu>(i));
    if (QAction* a = actions_[i]) {
      a->setEnabled(st.enabled);
      if (a->isCheckable()) a->setChecked(st.checked);
    }
  }
  if (const auto active = form.active()) {
    QWidget* w = widgetFor(*active);
    if (!w->hasFocus()) w->setFocus(Qt::OtherFocusReason);
  } else if (!client_->hasFocus() && (isActiveWindow() || client_->isAncestorOf(focusWidget()))) {
    client_->setFocus(Qt::OtherFocusReason);
  }
  for (QWidget* w : hiding) w->hide();

  const ScanTimer& t = form.timer();
  if (!t.enabled()) {
    scanTimer_.stop();
  } else if (!scanTimer_.isActive() || t.generation() != timerGeneration_) {
    scanTimer_.start(t.interval());
  }
  timerGeneration_ = t.generation();
  // settings.ini is read at start-up, after the window is built.
  if (session_.settings.values.scanWaitsForSpeech && !speechWatch_.isActive()) {
    speechWatch_.start();
  }
}

VoiceDialogWindow* MainWindow::voiceDialog() {
  if (!dialog_) {
    dialog_ = new VoiceDialogWindow(session_, dispatcher_, this);
    connect(dialog_, &VoiceDialogWindow::settled, this, [this] { sync(); });
  }
  return dialog_;
}

void MainWindow::openVoiceDialog() {
  voiceDialog()->openFromModel();
}

void MainWindow::closeVoiceDialog() {
  if (dialog_) dialog_->closeFromModel();
}

bool MainWindow::handleKey(QKeyEvent* e) {
  if (const auto zoom = zoomKeyOf(e)) {
    if (!e->isAutoRepeat()) changeZoom(*zoom);
    return true;
  }
  const auto k = keyStrokeOf(e);
  if (!k) return false;
  if (k->down) dispatch([this, k = *k] { dispatcher_.key(k); });
  return true;  // the key-up of these keys does nothing either
}

void MainWindow::changeZoom(ZoomKey k) {
  dispatch([this, k] {
    dispatcher_.setZoom(k == ZoomKey::Reset ? 100
                        : k == ZoomKey::In  ? appliedZoom_ + kZoomStep
                                            : appliedZoom_ - kZoomStep);
  });
}

void MainWindow::applyZoom() {
  const int z = session_.settings.values.zoom;
  if (z == appliedZoom_) return;
  appliedZoom_ = z;
  setStyleSheet(drillStyleSheet(z));
  client_->setFixedSize(zoomed(kClientWidth, z), zoomed(kClientHeight, z));
  client_->setFont(designFont(zoomed(12, z)));
  for (std::span<const Place> places : {buttonPlaces(), labelPlaces()}) {
    for (const Place& p : places) {
      QWidget* w = widgetFor(p.control);
      w->setGeometry(zoomed(p.left, z), zoomed(p.top, z), zoomed(p.width, z), zoomed(p.height, z));
      w->setFont(designFont(zoomed(p.fontPx, z), p.bold));
    }
  }
  for (const Place& p : labelPlaces())
    fitWidth(p.control, static_cast<QLabel*>(widgetFor(p.control)));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    auto* w = qobject_cast<QWidget*>(watched);
    // Only key strokes for the main window itself; menus and dialogs keep theirs.
    if (w && w->window() == this && !QApplication::activePopupWidget() &&
        !QApplication::activeModalWidget()) {
      return handleKey(static_cast<QKeyEvent*>(event));
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) {
    dispatch([this] { dispatcher_.activate(); });
  }
  return QMainWindow::event(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!finished_) {
    // The close box, the system menu or File > Exit: the program ends, nothing is asked.
    dispatch([this] { dispatcher_.menu(Menu::Exit); });
  }
  if (!finished_) {
    session_.quitRequested = true;
    finished_ = true;
    if (onFinished_) onFinished_();
  }
  scanTimer_.stop();
  event->accept();
}

}  // namespace orvane::qt
