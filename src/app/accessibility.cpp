#include "app/accessibility.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <map>
#include <optional>

#include "app/image_control.h"
#include "render/qt_canvas.h"

namespace timer555 {

namespace {

// The child of a window that says what an announcement says.
constexpr const char* kNotifierName = "timer555-notifier";
constexpr int kSettle = 300;  // ms

QPoint Centre(const HitArea& r) {
  return {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
}

// One drawn item of a picture, as it was when the picture's parts were
// last noted: when they change, the picture's interface retires its items
// and makes new ones, so that a reader never keeps an old name under a
// reused identity.
class DrawnItemAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  DrawnItemAccessible(ImageControl* control, int index, DrawnItem item)
      : control_(control), index_(index), item_(std::move(item)) {}

  void Retire() { retired_ = true; }
  bool isValid() const override { return !retired_ && control_ != nullptr; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override {
    return control_ ? control_->window()->windowHandle() : nullptr;
  }
  QAccessibleInterface* parent() const override {
    return control_ ? QAccessible::queryAccessibleInterface(control_.data()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    return isValid() && t == QAccessible::Name ? ToQString(item_.name) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return {};
    const HitArea& r = item_.area;
    return {control_->mapToGlobal(QPoint(r.left, r.top)),
            QSize(r.right - r.left + 1, r.bottom - r.top + 1)};
  }
  QAccessible::Role role() const override {
    const ImageControl* control = control_.data();
    return control ? control->AccessibleItemRole() : QAccessible::NoRole;
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.focusable = true;
    const ImageControl* control = control_.data();
    if (!control || retired_) {
      s.invisible = s.disabled = true;
      return s;
    }
    s.invisible = !control->isVisible();
    s.disabled = !control->isEnabled();
    // The part with the keyboard's mark is the focused one.
    s.focused = control->ShowsFocusMark() && control->CurrentItem() == index_;
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                : nullptr;
  }

  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override {
    if (name != pressAction() || !isValid()) return;
    const QPoint p = Centre(item_.area);
    control_->PressAt(p.x(), p.y());
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QPointer<ImageControl> control_;
  int index_;
  DrawnItem item_;
  bool retired_ = false;
};

// A picture: a button when it is clicked as a whole, a container of its drawn
// items otherwise.
class ImageControlAccessible final : public QAccessibleWidget {
 public:
  explicit ImageControlAccessible(ImageControl* control) : QAccessibleWidget(control) {
    renew_ = QObject::connect(control, &ImageControl::PartsChanged, control, [this] { Renew(); });
  }
  ~ImageControlAccessible() override {
    QObject::disconnect(renew_);
    for (const auto& [index, id] : children_)
      QAccessible::deleteAccessibleInterface(id);
  }

  // Asked each time: the interface may exist before the picture is described.
  QAccessible::Role role() const override { return Control()->AccessibleRole(); }
  int childCount() const override { return static_cast<int>(Control()->AccessibleItems().size()); }
  QAccessibleInterface* child(int index) const override {
    const auto items = Control()->AccessibleItems();
    if (index < 0 || index >= static_cast<int>(items.size())) return nullptr;
    auto it = children_.find(index);
    if (it == children_.end()) {
      const QAccessible::Id id = QAccessible::registerAccessibleInterface(
          new DrawnItemAccessible(Control(), index, items[static_cast<size_t>(index)]));
      it = children_.emplace(index, id).first;
    }
    return QAccessible::accessibleInterface(it->second);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (const auto& [index, id] : children_)
      if (QAccessible::accessibleInterface(id) == child) return index < childCount() ? index : -1;
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint p = Control()->mapFromGlobal(QPoint(x, y));
    const auto items = Control()->AccessibleItems();
    for (size_t i = 0; i < items.size(); ++i) {
      if (items[i].area.Contains(p.x(), p.y())) return child(static_cast<int>(i));
    }
    return nullptr;
  }

  QStringList actionNames() const override {
    if (role() == QAccessible::Button) return {pressAction()};
    QStringList names = QAccessibleWidget::actionNames();
    if (Control()->HasContextMenu()) names << showMenuAction();
    return names;
  }
  void doAction(const QString& name) override {
    if (role() == QAccessible::Button && name == pressAction()) {
      Control()->PressAt(Control()->width() / 2, Control()->height() / 2);
      return;
    }
    if (name == showMenuAction() && Control()->HasContextMenu()) {
      Control()->OpenContextMenu();
      return;
    }
    QAccessibleWidget::doAction(name);
  }

 private:
  ImageControl* Control() const { return static_cast<ImageControl*>(widget()); }

  // The parts changed: the items a reader knows are removed, retired and
  // forgotten, and the new ones announced under new identities.
  void Renew() {
    for (const auto& [index, id] : children_) {
      QAccessibleEvent gone(QAccessible::accessibleInterface(id), QAccessible::ObjectDestroyed);
      QAccessible::updateAccessibility(&gone);
    }
    for (const auto& [index, id] : children_) {
      static_cast<DrawnItemAccessible*>(QAccessible::accessibleInterface(id))->Retire();
      QAccessible::deleteAccessibleInterface(id);
    }
    children_.clear();
    // One event a new item (this toolkit's "reordered" signal is malformed
    // for the reader's library).
    for (int i = 0; i < childCount(); ++i) {
      QAccessibleEvent created(child(i), QAccessible::ObjectCreated);
      QAccessible::updateAccessibility(&created);
    }
  }

  mutable std::map<int, QAccessible::Id> children_;
  QMetaObject::Connection renew_;
};

QAccessibleInterface* Factory(const QString& key, QObject* object) {
  // The announcer: a reader presents a notification as it shows.
  if (key == QLatin1String("QWidget") && object->objectName() == QLatin1String(kNotifierName))
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
  if (key == QLatin1String("timer555::ImageControl")) {
    if (auto* control = qobject_cast<ImageControl*>(object))
      return new ImageControlAccessible(control);
  }
  return nullptr;
}

}  // namespace

void InstallAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(Factory);
    return true;
  }();
  (void)installed;
}

namespace {

void Notify(QWidget* window, const QString& sentence) {
  if (window == nullptr || !window->isVisible()) return;
  auto* notifier = window->findChild<QWidget*>(kNotifierName, Qt::FindDirectChildrenOnly);
  if (notifier == nullptr) {
    // No size, no focus, no clicks: nothing a sighted user can meet.
    notifier = new QWidget(window);
    notifier->setObjectName(kNotifierName);
    notifier->setGeometry(0, 0, 0, 0);
    notifier->setFocusPolicy(Qt::NoFocus);
    notifier->setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  notifier->hide();
  notifier->setAccessibleName(sentence);
  notifier->show();
}

// A sentence waiting for the keyboard to land in a window: after a dialog
// closes, the reader first follows the focus back, which would cut the
// sentence short.
struct Waiting {
  QString sentence;
  QPointer<QWidget> fallback;
  QMetaObject::Connection landed;
};

Waiting& TheWaiting() {
  static Waiting waiting;
  return waiting;
}

void SayWaiting(QWidget* window) {
  Waiting& w = TheWaiting();
  QObject::disconnect(w.landed);
  if (w.sentence.isEmpty()) return;
  const QString sentence = w.sentence;
  w.sentence.clear();
  QPointer<QWidget> to = window != nullptr ? window : w.fallback.data();
  QTimer::singleShot(kSettle, qApp, [to, sentence] { Notify(to, sentence); });
}

}  // namespace

void Announce(const QString& sentence, QWidget* fallback) {
  if (sentence.isEmpty()) return;
  QWidget* focus = QApplication::focusWidget();
  if (focus != nullptr && focus->window()->isActiveWindow() &&
      QApplication::activeModalWidget() == nullptr) {
    // A moment after the burst of changes the step made: a reader prunes a
    // flood of events and would drop the sentence with it.
    QTimer::singleShot(
        kSettle, focus->window(),
        [window = QPointer<QWidget>(focus->window()), sentence] { Notify(window, sentence); });
    return;
  }
  Waiting& w = TheWaiting();
  QObject::disconnect(w.landed);
  w.sentence = sentence;
  w.fallback = fallback;
  w.landed = QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget*, QWidget* now) {
    if (now != nullptr && QApplication::activeModalWidget() == nullptr) SayWaiting(now->window());
  });
  // Where no window takes the keyboard (no window manager), the window asked.
  QTimer::singleShot(1000, qApp, [] { SayWaiting(QApplication::activeWindow()); });
}

void DescribeChoice(QComboBox* box) {
  box->setAccessibleDescription(box->currentText());
  QObject::connect(box, &QComboBox::currentTextChanged, box, [box](const QString& text) {
    box->setAccessibleDescription(text);
    if (box->hasFocus()) Announce(text, box);
  });
}

void ShowText(QLabel* label, const QString& text) {
  label->setText(text);
  const QString name = text.isEmpty() ? QStringLiteral("blank") : QString();
  if (label->accessibleName() != name) label->setAccessibleName(name);
}

FocusReturn::FocusReturn()
    : window_(QApplication::activeWindow()), focus_(QApplication::focusWidget()) {}

FocusReturn::~FocusReturn() {
  QWidget* window = window_.data();
  QWidget* focus = focus_.data();
  if (window == nullptr || !window->isVisible()) return;
  window->activateWindow();
  if (focus != nullptr && focus->isVisible() && focus->window() == window)
    focus->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace timer555
