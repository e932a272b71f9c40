#pragma once

#include <QWidget>
#include <memory>

#include "app/layout.h"
#include "app/shell.h"
#include "components/holders.h"
#include "design/shell_view.h"

class QGroupBox;
class QMenu;
class QLabel;
class QListWidget;
class QRadioButton;

namespace timer555 {

class ImageControl;
class TfmCheck;
class TNumEdit;

// The main window: fixed size, a drawn menu bar, the page area and the input
// panel. Its events are forwarded to MainShell through one error guard.
class TfmMain final : public QWidget, public ShellView {
  Q_OBJECT

 public:
  // When the menu bar and the start page are drawn: in the constructor, or
  // by DrawStart() once the window is on its way to the screen (the program's
  // start: the drawing needs the fonts, which a window need not wait for).
  enum class StartDrawing { Now, Later };
  explicit TfmMain(QWidget* parent = nullptr, StartDrawing drawing = StartDrawing::Now);
  ~TfmMain() override;
  // Draws the menu bar and the start page where the constructor did not.
  void DrawStart();

  // The input panel (GB1 ... GB3 and what they hold, ListBox1) is made right
  // after the first frame, or on the first question about it; until then its
  // members are null. Makes it now where it is not made yet.
  void CreatePanel();

  // ShellView
  Canvas& PageCanvas() override;
  Canvas& WaveformCanvas() override;
  void SetCaption(const std::string& caption) override;
  std::string Caption() const override;
  void SetVisible(Control control, bool visible) override;
  void SetEnabled(Control control, bool enabled) override;
  void SetText(Control control, const std::string& text) override;
  std::string Text(Control control) const override;
  int PageCursor() const override { return pageCursor_; }
  void SetPageCursor(int cursor) override;
  bool Checked(Control control) const override;
  void ShowError(const std::string& message) override;
  void RunAdjustDialog() override;
  void CloseWindow() override;
  void DescribeWaveform(const std::string& description) override;

  MainShell& Shell() noexcept { return *shell_; }

  // The real-world check tool window, opened (and created on first use) by F9
  // and the page area's context menu; null until then.
  TfmCheck* OpenCheck();
  TfmCheck* CheckWindow() const noexcept { return check_; }
  // The page area's context menu at (x, y) in its pixels.
  QMenu* PageMenu();
  // The page area as a picture: PNG as shown, or SVG of a design page.
  // Reports a failure in a message box; false then.
  bool SavePicture(const QString& file);
  void CopyPicture();
  // The design's parts as a KiCad schematic, a bill of materials and a
  // design sheet, with the real-world check's settings.
  void ExportDesign();
  // The keys of the window, in a small dialog (F1, the page's menu).
  void ShowKeys();
  // The window a dialog opens over: the check window where it is active,
  // else this one.
  QWidget* DialogParent();

  // The checked design has changed (none: nothing calculated on show).
 signals:
  void DesignChanged(const std::optional<timer555::DesignSnapshot>& design);

 public:
  // The controls, under the names of the window's layout.
  ImageControl* Image1 = nullptr;
  ImageControl* Image2 = nullptr;
  QGroupBox* GB1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QGroupBox* GB2 = nullptr;
  QRadioButton* RB1 = nullptr;
  QRadioButton* RB2 = nullptr;
  QLabel* Label4 = nullptr;
  ImageControl* Image3 = nullptr;
  ImageControl* Image4 = nullptr;
  QGroupBox* GB3 = nullptr;
  ImageControl* Image5 = nullptr;
  TNumEdit* NumEdit1 = nullptr;
  TNumEdit* NumEdit2 = nullptr;
  QListWidget* ListBox1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate(StartDrawing drawing);
  void InstallKeys();
  void DescribePanel();
  void PlacePanel(const WindowLayout& layout);
  // The designed position, moved inside the screen where the window would not fit.
  void PlaceOnScreen(int width, int height);
  void FormShow();
  // F10 and Alt: the keyboard's mark on the menu bar's first caption.
  void FocusMenuBar();
  // Alt pressed and released with nothing between goes to the menu bar (or
  // back to the page from it).
  void WatchAltAlone(const QEvent* event);
  QWidget* ControlWidget(Control control) const;
  // Runs one event handler; an error it raises is reported in a message box
  // and goes no further. The images are repainted afterwards in every case.
  template <typename F>
  void Guarded(F&& handler);

  StringHolders holders_;
  std::unique_ptr<MainShell> shell_;
  int pageCursor_ = kCursorDefault;
  bool shown_ = false;
  bool started_ = false;  // the menu bar and the start page drawn
  bool altAlone_ = false;
  TfmCheck* check_ = nullptr;
  std::string spoken_;  // the result a reader last heard
  QMenu* pageMenu_ = nullptr;
};

}  // namespace timer555
