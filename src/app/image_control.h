#pragma once

#include <QAccessible>
#include <QWidget>
#include <functional>
#include <vector>

#include "app/shell.h"

#include "render/qt_canvas.h"

namespace timer555 {

// An image control: keeps what was drawn on it, offers a canvas over its
// pixels, reports mouse events in its own pixels and carries its own cursor.
class ImageControl final : public QWidget {
  Q_OBJECT

 public:
  using MouseHandler = std::function<void(int x, int y)>;

  ImageControl(const QString& name, QWidget* parent);

  // Replaces the picture with a white one of the control's size.
  void Resize(int width, int height);
  QtCanvas& CanvasRef() noexcept { return canvas_; }

  void SetMouseDown(MouseHandler h) { mouseDown_ = std::move(h); }
  void SetMouseMove(MouseHandler h) { mouseMove_ = std::move(h); }
  void SetClick(MouseHandler h) { click_ = std::move(h); }
  // The context menu's request (right button or the menu key), at (x, y).
  void SetContextMenu(MouseHandler h) { contextMenu_ = std::move(h); }
  bool HasContextMenu() const noexcept { return static_cast<bool>(contextMenu_); }
  // Opens the context menu at the part with the focus mark (a screen
  // reader's "show menu").
  void OpenContextMenu();

  // How a screen reader sees the picture: its own role and, when parts of it
  // are clicked separately, those parts (in the picture's pixels) and their role.
  using ItemSource = std::function<std::vector<DrawnItem>()>;
  void SetAccessibleParts(QAccessible::Role role, QAccessible::Role itemRole = QAccessible::NoRole,
                          ItemSource items = {});
  QAccessible::Role AccessibleRole() const noexcept { return role_; }
  QAccessible::Role AccessibleItemRole() const noexcept { return itemRole_; }
  std::vector<DrawnItem> AccessibleItems() const {
    return items_ ? items_() : std::vector<DrawnItem>{};
  }
  // The picture's pixel under a mouse position in logical pixels.
  static QPoint PixelAt(const QPointF& position) noexcept;

  // What the mouse does at (x, y): moving there, pressing and releasing.
  void PressAt(int x, int y);

  // The keyboard: a control with parts (or a button) takes the focus; the
  // arrow keys move among the parts, Enter or Space presses the one with the
  // focus mark, Shift+F10 opens the context menu there. The mark is drawn
  // over the picture only while the keyboard is in use on it, and goes with
  // the next mouse press.
  int CurrentItem() const noexcept { return current_; }
  // Puts the mark on part `item`, as the keyboard does.
  void SetCurrentItem(int item);
  bool ShowsFocusMark() const noexcept { return keyboard_ && hasFocus(); }
  // A key that presses part `item` at once (the picture of two arrows: Up
  // presses the up arrow) instead of moving the mark.
  void SetItemKey(int key, int item) { itemKeys_.emplace_back(key, item); }
  // After a step that may have drawn other parts: where they differ from the
  // parts last noted, PartsChanged tells (a screen reader's view renews
  // them), and on other places (another page) the mark starts at the first.
  void NoteParts();

 signals:
  void PartsChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  QtCanvas canvas_;
  MouseHandler mouseDown_;
  MouseHandler mouseMove_;
  MouseHandler click_;
  MouseHandler contextMenu_;
  bool pressed_ = false;
  QAccessible::Role role_ = QAccessible::Graphic;
  QAccessible::Role itemRole_ = QAccessible::NoRole;
  ItemSource items_;
  int current_ = 0;
  bool keyboard_ = false;
  std::vector<std::pair<int, int>> itemKeys_;
  // Presses the part with the mark, as a click in its middle would.
  void PressCurrent();
  // The parts the mark was last on, to know a new set of parts.
  std::vector<DrawnItem> known_;  // the parts as last noted
  // The centre of the current part, or of the control.
  QPoint CurrentCentre() const;
  void MoveItem(int by);
  void AnnounceCurrent();
  // Up and Down: the step to the nearest part above or below in the same
  // column (the designs stand in a 2 x 2 grid); where there is none, to the
  // part before or after, as Left and Right go.
  int StepInColumn(int step) const;
};

}  // namespace timer555
