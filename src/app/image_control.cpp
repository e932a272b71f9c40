#include "app/image_control.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace timer555 {

QPoint ImageControl::PixelAt(const QPointF& position) noexcept {
  // A scaled screen reports positions between pixels; a pixel position is
  // truncated, never rounded: 9.5 is pixel 9, -0.5 is pixel -1.
  return QPoint(static_cast<int>(std::floor(position.x())),
                static_cast<int>(std::floor(position.y())));
}

ImageControl::ImageControl(const QString& name, QWidget* parent) : QWidget(parent), canvas_(1, 1) {
  setObjectName(name);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

void ImageControl::Resize(int width, int height) {
  setFixedSize(width, height);
  canvas_ = QtCanvas(width, height);
}

void ImageControl::SetAccessibleParts(QAccessible::Role role, QAccessible::Role itemRole,
                                      ItemSource items) {
  role_ = role;
  itemRole_ = itemRole;
  items_ = std::move(items);
  if (items_ || role == QAccessible::Button) setFocusPolicy(Qt::StrongFocus);
}

void ImageControl::SetCurrentItem(int item) {
  NoteParts();
  current_ = item;
  keyboard_ = true;
  update();
}

QPoint ImageControl::CurrentCentre() const {
  const std::vector<DrawnItem> items = AccessibleItems();
  if (current_ < 0 || current_ >= static_cast<int>(items.size()))
    return {width() / 2, height() / 2};
  const HitArea& a = items[static_cast<size_t>(current_)].area;
  return {(a.left + a.right) / 2, (a.top + a.bottom) / 2};
}

void ImageControl::MoveItem(int by) {
  const int n = static_cast<int>(AccessibleItems().size());
  if (n == 0) return;
  current_ = ((current_ + by) % n + n) % n;
  keyboard_ = true;
  update();
  AnnounceCurrent();
}

void ImageControl::NoteParts() {
  std::vector<DrawnItem> items = AccessibleItems();
  const bool samePlaces = std::ranges::equal(items, known_, {}, &DrawnItem::area, &DrawnItem::area);
  if (samePlaces && std::ranges::equal(items, known_, {}, &DrawnItem::name, &DrawnItem::name))
    return;
  // Other parts (another page): the mark starts at the first. The same
  // parts with new values keep it where it was.
  if (!samePlaces) current_ = 0;
  known_ = std::move(items);
  emit PartsChanged();
}

int ImageControl::StepInColumn(int step) const {
  const std::vector<DrawnItem> items = AccessibleItems();
  if (current_ < 0 || current_ >= static_cast<int>(items.size())) return step;
  const HitArea& from = items[static_cast<size_t>(current_)].area;
  const int fromMiddle = from.top + from.bottom;  // twice the middle
  int best = -1;
  int bestDistance = 0;
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    const HitArea& to = items[static_cast<size_t>(i)].area;
    const int distance = (to.top + to.bottom - fromMiddle) * step;
    const bool sameColumn = to.left <= from.right && from.left <= to.right;
    if (i == current_ || !sameColumn || distance <= 0) continue;
    if (best < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best < 0 ? step : best - current_;
}

void ImageControl::AnnounceCurrent() {
  // A screen reader follows the mark: the part it is on takes the focus.
  if (!hasFocus() || current_ >= static_cast<int>(AccessibleItems().size())) return;
  QAccessibleEvent event(this, QAccessible::Focus);
  event.setChild(current_);
  QAccessible::updateAccessibility(&event);
}

void ImageControl::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  // The keys act on the parts drawn now.
  NoteParts();
  for (const auto& [itemKey, item] : itemKeys_) {
    if (key == itemKey && event->modifiers() == Qt::NoModifier) {
      current_ = item;
      PressCurrent();
      event->accept();
      return;
    }
  }
  if (key == Qt::Key_Left) {
    MoveItem(-1);
  } else if (key == Qt::Key_Right) {
    MoveItem(1);
  } else if (key == Qt::Key_Up || key == Qt::Key_Down) {
    MoveItem(StepInColumn(key == Qt::Key_Down ? 1 : -1));
  } else if (key == Qt::Key_Home) {
    MoveItem(-current_);
  } else if (key == Qt::Key_End) {
    MoveItem(static_cast<int>(AccessibleItems().size()) - 1 - current_);
  } else if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
    PressCurrent();
  } else if (key == Qt::Key_Escape && role_ == QAccessible::MenuBar) {
    // Out of the menu bar, back to the page.
    keyboard_ = false;
    update();
    focusNextChild();
  } else if (key == Qt::Key_F10 && shift && contextMenu_) {
    OpenContextMenu();
  } else {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
}

void ImageControl::PressCurrent() {
  keyboard_ = true;
  const QPoint at = CurrentCentre();
  // Where the press opens another page, the window's step notes its parts
  // and the mark starts on the first.
  PressAt(at.x(), at.y());
  update();
  AnnounceCurrent();
}

void ImageControl::OpenContextMenu() {
  if (!contextMenu_) return;
  const QPoint at = CurrentCentre();
  contextMenu_(at.x(), at.y());
}

void ImageControl::focusInEvent(QFocusEvent* event) {
  const Qt::FocusReason why = event->reason();
  if (why == Qt::TabFocusReason || why == Qt::BacktabFocusReason ||
      why == Qt::ShortcutFocusReason) {
    keyboard_ = true;
    // Back on the same parts the mark is where it was.
    NoteParts();
  }
  update();
  QWidget::focusInEvent(event);
  if (keyboard_) AnnounceCurrent();
}

void ImageControl::focusOutEvent(QFocusEvent* event) {
  update();
  QWidget::focusOutEvent(event);
}

void ImageControl::PressAt(int x, int y) {
  if (mouseMove_) mouseMove_(x, y);
  if (mouseDown_) mouseDown_(x, y);
  if (click_) click_(x, y);
}

void ImageControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // Pixels are drawn one to one; on a scaled display they are enlarged
  // without smoothing so that the drawing keeps its exact pixels.
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.drawImage(rect(), canvas_.Image());
  if (!ShowsFocusMark()) return;
  // The focus mark: a dotted frame round the current part (or the control),
  // over the picture, never in it.
  QRect frame = rect().adjusted(1, 1, -2, -2);
  const std::vector<DrawnItem> items = AccessibleItems();
  if (current_ >= 0 && current_ < static_cast<int>(items.size())) {
    const HitArea& a = items[static_cast<size_t>(current_)].area;
    frame = QRect(QPoint(a.left - 2, a.top - 2), QPoint(a.right + 1, a.bottom + 1)) & rect();
  }
  QPen pen(palette().color(QPalette::Highlight), 1, Qt::DotLine);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  p.drawRect(frame);
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
  if (keyboard_) {
    keyboard_ = false;
    update();
  }
  if (event->button() != Qt::LeftButton) return;
  pressed_ = true;
  const QPoint pos = PixelAt(event->position());
  if (mouseDown_) mouseDown_(pos.x(), pos.y());
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  const QPoint pos = PixelAt(event->position());
  if (click_ && rect().contains(pos)) click_(pos.x(), pos.y());
}

void ImageControl::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = PixelAt(event->position());
  if (mouseMove_) mouseMove_(pos.x(), pos.y());
}

void ImageControl::contextMenuEvent(QContextMenuEvent* event) {
  if (!contextMenu_) {
    event->ignore();
    return;
  }
  // The Menu key opens it at the part with the focus mark, the mouse where it is.
  const QPoint at = event->reason() == QContextMenuEvent::Keyboard ? CurrentCentre() : event->pos();
  contextMenu_(at.x(), at.y());
  event->accept();
}

}  // namespace timer555
