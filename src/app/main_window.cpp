#include "app/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QFont>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <algorithm>
#include <exception>

#include "app/accessibility.h"
#include "app/check_window.h"
#include "app/cursors.h"
#include "app/export_dialog.h"
#include "app/icon.h"
#include "app/image_control.h"
#include "app/keys.h"
#include "app/layout.h"
#include "app/pages.h"
#include "app/save_dialog.h"
#include "components/num_edit.h"
#include "design/adjust.h"
#include "design/adjustment.h"
#include "render/qt_canvas.h"
#include "render/svg_canvas.h"
#include "report/figures.h"
#include "state/global.h"

namespace timer555 {

namespace {

std::string FromQ(const QString& s) {
  return s.toLatin1().toStdString();
}

void Place(QWidget* w, const WindowLayout& layout, LayoutControl c) {
  const Box& b = layout[c].scaled;
  w->setObjectName(layout[c].name);
  w->setGeometry(b.left, b.top, b.width, b.height);
}

// Labels size themselves to their text; only their corner is placed.
void PlaceLabel(QLabel* label, const WindowLayout& layout, LayoutControl c) {
  const Box& b = layout[c].scaled;
  label->setObjectName(layout[c].name);
  label->move(b.left, b.top);
  label->adjustSize();
}

// "Hz" as a screen reader says it: "in hertz".
QString UnitInWords(const QString& unit) {
  const std::string words = UnitWord(unit.toStdString());
  return "in " + (words.empty() ? unit : QString::fromStdString(words));
}

// The menu bar's captions pressed with Alt: the first letter where it is the
// caption's own, Data by its t and the companion by its b.
constexpr std::pair<Qt::Key, MenuItem> kMenuKeys[] = {
    {Qt::Key_D, MenuItem::Design}, {Qt::Key_A, MenuItem::Applications},
    {Qt::Key_T, MenuItem::Data},   {Qt::Key_Q, MenuItem::Quit},
    {Qt::Key_H, MenuItem::Help},   {Qt::Key_B, MenuItem::Companion}};

QFont GroupFont() {
  QFont f(kFontName);
  f.setPixelSize(16);
  f.setBold(true);
  return f;
}

}  // namespace

template <typename F>
void TfmMain::Guarded(F&& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ShowError(e.what());
  } catch (...) {
    ShowError("Unexpected error");
  }
  for (ImageControl* image : {Image1, Image2, Image3, Image4, Image5}) {
    if (image == nullptr) continue;
    image->update();
    image->NoteParts();
  }
  // Before the start is drawn there is nothing to name, and naming would
  // wake the screen reader's bridge before the window is on the screen.
  if (!started_) return;
  // A screen reader names the page by what it shows and reads what is
  // written on it.
  const QString title = QString::fromStdString(shell_->PageTitle());
  if (Image2->accessibleName() != title) Image2->setAccessibleName(title);
  std::vector<HitArea> parts;
  for (const DrawnItem& item : Image2->AccessibleItems())
    parts.push_back(item.area);
  const QString text = QString::fromStdString(ReadingOrder(Image2->CanvasRef().Written(), parts));
  if (Image2->accessibleDescription() != text) Image2->setAccessibleDescription(text);
  // The check hears of every change of the design, and of nothing else.
  shell_->AnnounceDesign();
  // A reader hears the new result once, wherever the keyboard is.
  const std::string sentence = shell_->ResultSentence();
  if (sentence != spoken_) {
    spoken_ = sentence;
    Announce(QString::fromStdString(sentence), this);
  }
}

TfmMain::TfmMain(QWidget* parent, StartDrawing drawing)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      holders_(LoadBuiltinHolders()) {
  setObjectName("fmMain");
  shell_ = std::make_unique<MainShell>(*this, holders_);
  shell_->SetDesignObserver(
      [this](const std::optional<DesignSnapshot>& design) { emit DesignChanged(design); });
  FormCreate(drawing);
}

TfmMain::~TfmMain() {
  // Closing releases nothing on disk: the program registers no font file and
  // deletes no file.
}

void TfmMain::FormCreate(StartDrawing drawing) {
  const WindowLayout layout = MainWindowLayout();
  setFixedSize(layout.clientWidth, layout.clientHeight);
  PlaceOnScreen(layout.clientWidth, layout.clientHeight);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  setFont(ControlFont());

  Image1 = new ImageControl("Image1", this);
  Image2 = new ImageControl("Image2", this);
  for (const auto& [widget, id] :
       {std::pair<ImageControl*, LayoutControl>{Image1, LayoutControl::Image1},
        {Image2, LayoutControl::Image2}}) {
    Place(widget, layout, id);
    widget->Resize(widget->width(), widget->height());
  }
  Image1->setFocusPolicy(Qt::NoFocus);
  Image2->setFocusPolicy(Qt::NoFocus);
  // Shown with the drawing: a child shown before the window reaches the
  // screen wakes the screen reader's bridge (a session bus to find) first.
  Image1->hide();
  Image2->hide();

  Image1->SetMouseDown([this](int x, int y) { Guarded([&] { shell_->Image1MouseDown(x, y); }); });
  Image2->SetMouseDown([this](int x, int y) { Guarded([&] { shell_->Image2MouseDown(x, y); }); });
  Image2->SetMouseMove([this](int x, int y) { Guarded([&] { shell_->Image2MouseMove(x, y); }); });
  InstallKeys();
  // Alt pressed and released alone goes to the menu bar and back.
  qApp->installEventFilter(this);

  InstallAccessibility();

  Image2->CanvasRef().SetFontName(kFontName);
  Image1->CanvasRef().SetFontName(kFontName);
  // The caption names the window before it is shown; the drawing follows.
  SetCaption(kDefaultCaption);
  if (drawing == StartDrawing::Now) DrawStart();
  // The input panel is made once the first frame is on its way (or as soon
  // as anything asks for it): the start page does not show it, and its
  // widgets measure their texts in fonts that frame does not draw with.
  Image2->installEventFilter(this);
}

// Beside the specified clicks: the right button's menu on the page area and
// F9 for the real-world check; F10 to the drawn menu bar, F1 for the keys;
// Alt with a letter of a caption presses that caption, as a click would (the
// drawn captions keep their pixels, so the letters are in the keys' list).
void TfmMain::InstallKeys() {
  Image2->SetContextMenu(
      [this](int x, int y) { PageMenu()->popup(Image2->mapToGlobal(QPoint(x, y))); });
  auto* checkKey = new QShortcut(QKeySequence(Qt::Key_F9), this);
  connect(checkKey, &QShortcut::activated, this, [this] { OpenCheck(); });
  auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
  connect(menuKey, &QShortcut::activated, this, [this] { FocusMenuBar(); });
  auto* keysKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(keysKey, &QShortcut::activated, this, [this] { ShowKeys(); });
  for (const auto& [key, item] : kMenuKeys) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | key), this);
    connect(shortcut, &QShortcut::activated, this, [this, item = item] {
      const HitArea& a = shell_->Menu().items[static_cast<size_t>(item)];
      Image1->PressAt((a.left + a.right) / 2, (a.top + a.bottom) / 2);
    });
  }
}

void TfmMain::DrawStart() {
  if (started_) return;
  started_ = true;
  // The icon is drawn at the sizes the window system asks for: after the map.
  setWindowIcon(MainIcon());
  Guarded([&] { shell_->FormCreate(Image1->CanvasRef()); });
  Image1->show();
  Image2->show();
  // Screen readers: the pictures are named by what they show, and what is
  // drawn to be clicked is offered as items. (Naming a widget asks the
  // desktop whether a reader listens: after the window is on its way.)
  Image1->setAccessibleName("Menu");
  Image2->setAccessibleName(QString::fromStdString(shell_->PageTitle()));
  Image1->SetAccessibleParts(QAccessible::MenuBar, QAccessible::MenuItem,
                             [this] { return shell_->MenuBarItems(); });
  Image2->SetAccessibleParts(QAccessible::Graphic, QAccessible::Button,
                             [this] { return shell_->PageItems(); });
}

void TfmMain::FocusMenuBar() {
  Image1->SetCurrentItem(0);
  Image1->setFocus(Qt::ShortcutFocusReason);
}

void TfmMain::WatchAltAlone(const QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::MouseButtonPress) {
    altAlone_ = false;
    return;
  }
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
    return;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  if (key != Qt::Key_Alt) {
    altAlone_ = false;
  } else if (type == QEvent::KeyPress) {
    altAlone_ = true;
  } else if (type == QEvent::KeyRelease && altAlone_) {
    altAlone_ = false;
    if (QApplication::activeWindow() != this || QApplication::activePopupWidget() != nullptr ||
        QApplication::activeModalWidget() != nullptr)
      return;
    if (Image1->hasFocus())
      Image2->setFocus(Qt::TabFocusReason);
    else
      FocusMenuBar();
  }
}

bool TfmMain::eventFilter(QObject* watched, QEvent* event) {
  WatchAltAlone(event);
  if (watched == Image2 && event->type() == QEvent::Paint) {
    Image2->removeEventFilter(this);
    QTimer::singleShot(0, this, [this] { CreatePanel(); });
  }
  return QWidget::eventFilter(watched, event);
}

// The panel's controls where the layout puts them.
void TfmMain::PlacePanel(const WindowLayout& layout) {
  const std::pair<QWidget*, LayoutControl> placed[] = {
      {GB1, LayoutControl::GB1},           {GB2, LayoutControl::GB2},
      {RB1, LayoutControl::RB1},           {RB2, LayoutControl::RB2},
      {Image3, LayoutControl::Image3},     {Image4, LayoutControl::Image4},
      {GB3, LayoutControl::GB3},           {Image5, LayoutControl::Image5},
      {NumEdit1, LayoutControl::NumEdit1}, {NumEdit2, LayoutControl::NumEdit2},
      {ListBox1, LayoutControl::ListBox1}};
  for (const auto& [widget, id] : placed)
    Place(widget, layout, id);
  for (ImageControl* image : {Image3, Image4, Image5})
    image->Resize(image->width(), image->height());
  PlaceLabel(Label1, layout, LayoutControl::Label1);
  PlaceLabel(Label2, layout, LayoutControl::Label2);
  PlaceLabel(Label3, layout, LayoutControl::Label3);
  PlaceLabel(Label4, layout, LayoutControl::Label4);
}

void TfmMain::CreatePanel() {
  if (GB1 != nullptr) return;
  const WindowLayout layout = MainWindowLayout();
  GB1 = new QGroupBox("Enter:", this);
  Label1 = new QLabel("Frequency", GB1);
  Label2 = new QLabel("Duty Cycle", GB1);
  Label3 = new QLabel("%", GB1);
  GB2 = new QGroupBox("Adjust:", this);
  RB1 = new QRadioButton("C1", GB2);
  RB2 = new QRadioButton("Timer", GB2);
  Label4 = new QLabel("Hz", GB1);
  Image3 = new ImageControl("Image3", GB1);
  Image4 = new ImageControl("Image4", GB2);
  GB3 = new QGroupBox("Vout", this);
  Image5 = new ImageControl("Image5", GB3);
  NumEdit1 = new TNumEdit(GB1);
  NumEdit2 = new TNumEdit(GB1);
  ListBox1 = new QListWidget(this);

  PlacePanel(layout);

  for (QGroupBox* box : {GB1, GB2, GB3})
    box->setFont(GroupFont());
  for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label2, Label3, Label4, RB1, RB2,
                                                    NumEdit1, NumEdit2})
    w->setFont(ControlFont());
  NumEdit1->SetTypingLimit(10);
  RB1->setChecked(true);
  ListBox1->setVisible(false);
  for (const std::string& item : E12Mantissas())
    ListBox1->addItem(ToQString(item));

  Image3->SetClick([this](int, int) { Guarded([&] { shell_->Image3Click(); }); });
  Image4->SetMouseDown([this](int x, int y) { Guarded([&] { shell_->Image4MouseDown(x, y); }); });

  DescribePanel();

  Image3->CanvasRef().SetFontName(kFontName);
  Image5->CanvasRef().SetFontName(kFontName);
  // As the start page has it: the panel hidden, its pictures drawn.
  Guarded([&] {
    shell_->FormShow();
    DrawCalculateButton(Image3->CanvasRef());
    QtCanvas arrows(kArrowsPictureWidth, kArrowsPictureHeight);
    DrawArrowsPicture(arrows);
    Image4->CanvasRef().Image() = arrows.Image().scaled(
        Image4->width(), Image4->height(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
  });
}

// Screen readers: the entry fields are named by their labels and described
// by their units; the pictures by what they show. The tab order: the menu
// bar, the page, the fields, Calculate, the choice of what the arrows step,
// the arrows.
void TfmMain::DescribePanel() {
  Label1->setBuddy(NumEdit1);
  Label2->setBuddy(NumEdit2);
  NumEdit1->setAccessibleDescription(UnitInWords(Label4->text()));
  NumEdit2->setAccessibleDescription(UnitInWords(Label3->text()));
  ListBox1->setAccessibleName("E12 values");
  Image3->setAccessibleName("Calculate");
  Image3->SetAccessibleParts(QAccessible::Button);
  Image4->setAccessibleName("Arrows");
  Image4->SetAccessibleParts(QAccessible::Grouping, QAccessible::Button,
                             [] { return MainShell::ArrowItems(); });
  // On the arrows, the keyboard's Up and Down are the arrows the help page names.
  Image4->SetItemKey(Qt::Key_Up, 0);
  Image4->SetItemKey(Qt::Key_Down, 1);
  Image5->setAccessibleName("Output waveform");
  // Tab order (set once every control takes the focus): the menu bar, the page, the fields,
  // Calculate, the choice of what the arrows step, the arrows.
  const QWidget* chain[] = {Image1, Image2, NumEdit1, NumEdit2, Image3, RB1, RB2, Image4};
  for (size_t i = 1; i < std::size(chain); ++i)
    setTabOrder(const_cast<QWidget*>(chain[i - 1]), const_cast<QWidget*>(chain[i]));
}

void TfmMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  FormShow();
}

void TfmMain::FormShow() {
  Guarded([&] {
    RegisterScreenCursor(kCursorCrosshair, LoadCursor("crosshair"));
    RegisterScreenCursor(kCursorCalculate, LoadCursor("calculate"));
    RegisterScreenCursor(kCursorCapacitor, LoadCursor("capacitor"));
    RegisterScreenCursor(kCursorResistor, LoadCursor("resistor"));
  });
}

void TfmMain::PlaceOnScreen(int width, int height) {
  const QScreen* display = screen();
  if (display == nullptr) display = QGuiApplication::primaryScreen();
  Box available{0, 0, 1 << 20, 1 << 20};
  if (display != nullptr) {
    const QRect area = display->availableGeometry();
    available = {area.left(), area.top(), area.width(), area.height()};
  }
  const Box place = FitWindowPosition(width, height, available);
  move(place.left, place.top);
}

Canvas& TfmMain::PageCanvas() {
  return Image2->CanvasRef();
}

Canvas& TfmMain::WaveformCanvas() {
  CreatePanel();
  return Image5->CanvasRef();
}

void TfmMain::SetCaption(const std::string& caption) {
  setWindowTitle(ToQString(caption));
}

std::string TfmMain::Caption() const {
  return FromQ(windowTitle());
}

QWidget* TfmMain::ControlWidget(Control control) const {
  // The panel is made on the first question about it.
  const_cast<TfmMain*>(this)->CreatePanel();
  switch (control) {
    case Control::GB1:
      return GB1;
    case Control::GB2:
      return GB2;
    case Control::GB3:
      return GB3;
    case Control::Label1:
      return Label1;
    case Control::Label2:
      return Label2;
    case Control::Label3:
      return Label3;
    case Control::Label4:
      return Label4;
    case Control::NumEdit1:
      return NumEdit1;
    case Control::NumEdit2:
      return NumEdit2;
    case Control::RB1:
      return RB1;
    case Control::RB2:
      return RB2;
  }
  return nullptr;
}

void TfmMain::SetVisible(Control control, bool visible) {
  ControlWidget(control)->setVisible(visible);
}

void TfmMain::SetEnabled(Control control, bool enabled) {
  ControlWidget(control)->setEnabled(enabled);
}

void TfmMain::SetText(Control control, const std::string& text) {
  QWidget* w = ControlWidget(control);
  if (auto* edit = qobject_cast<TNumEdit*>(w)) {
    edit->SetProgramText(ToQString(text));
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(ToQString(text));
    label->adjustSize();
    if (label == Label4) NumEdit1->setAccessibleDescription(UnitInWords(label->text()));
  } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
    box->setTitle(ToQString(text));
  } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
    radio->setText(ToQString(text));
  }
}

std::string TfmMain::Text(Control control) const {
  QWidget* w = ControlWidget(control);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return FromQ(edit->text());
  if (auto* label = qobject_cast<QLabel*>(w)) return FromQ(label->text());
  if (auto* box = qobject_cast<QGroupBox*>(w)) return FromQ(box->title());
  if (auto* radio = qobject_cast<QRadioButton*>(w)) return FromQ(radio->text());
  return {};
}

void TfmMain::SetPageCursor(int cursor) {
  pageCursor_ = cursor;
  Image2->setCursor(ScreenCursor(cursor));
}

QWidget* TfmMain::DialogParent() {
  QWidget* active = QApplication::activeWindow();
  return active != nullptr && active == check_ ? active : this;
}

void TfmMain::ShowError(const std::string& message) {
  // Over the window whose step failed (an Apply in the check window).
  const FocusReturn back;
  QMessageBox box(QMessageBox::Critical, "Error", ToQString(message), QMessageBox::Ok,
                  DialogParent());
  box.exec();
}

bool TfmMain::Checked(Control control) const {
  const auto* radio = qobject_cast<const QRadioButton*>(ControlWidget(control));
  return radio && radio->isChecked();
}

void TfmMain::RunAdjustDialog() {
  TfmAdjust dialog(this, [this](const std::string& m) { ShowError(m); });
  const FocusReturn back;
  dialog.exec();
}

void TfmMain::DescribeWaveform(const std::string& description) {
  if (Image5 != nullptr) Image5->setAccessibleDescription(QString::fromStdString(description));
}

void TfmMain::CloseWindow() {
  close();
}

TfmCheck* TfmMain::OpenCheck() {
  if (check_ == nullptr) {
    check_ = new TfmCheck(*shell_, this);
    check_->SetGuard([this](const std::function<void()>& change) { Guarded(change); });
    connect(this, &TfmMain::DesignChanged, check_, &TfmCheck::SetDesign);
    check_->StandBeside(*this);
  }
  check_->Present();
  return check_;
}

QMenu* TfmMain::PageMenu() {
  if (pageMenu_ == nullptr) {
    pageMenu_ = new QMenu(this);
    pageMenu_->setObjectName("PageMenu");
    QAction* check = pageMenu_->addAction("Real-world check\u2026", this, [this] { OpenCheck(); });
    check->setShortcut(QKeySequence(Qt::Key_F9));
    pageMenu_->addAction("Copy picture", this, [this] { CopyPicture(); });
    pageMenu_->addAction("Save picture as\u2026", this, [this] {
      QString filter = "PNG picture (*.png)";
      if (Global::Page().DesignPageShown) filter += ";;SVG drawing (*.svg)";
      const QString file = AskSaveFileName(this, "Save picture as", "timer555.png", filter);
      if (!file.isEmpty()) SavePicture(file);
    });
    pageMenu_->addAction("Export\u2026", this, [this] { ExportDesign(); });
    QAction* keys = pageMenu_->addAction("Keyboard\u2026", this, [this] { ShowKeys(); });
    keys->setShortcut(QKeySequence(Qt::Key_F1));
  }
  // The check and the export read a calculated design only.
  const bool calculated = shell_->CheckedDesign().has_value();
  pageMenu_->actions()[0]->setEnabled(calculated);
  pageMenu_->actions()[3]->setEnabled(calculated);
  return pageMenu_;
}

void TfmMain::ShowKeys() {
  QStringList lines;
  for (const KeyUse& k : kKeyUses)
    lines << QString::fromUtf8(k.keys.data(), static_cast<qsizetype>(k.keys.size())) + " \u2014 " +
                 QString::fromUtf8(k.use.data(), static_cast<qsizetype>(k.use.size()));
  // F1 works in the check window too; the list opens over it.
  const FocusReturn back;
  QMessageBox box(QMessageBox::Information, "Keyboard", lines.join('\n'), QMessageBox::Close,
                  DialogParent());
  box.setFont(QApplication::font());
  box.setPalette(QApplication::palette());
  box.exec();
}

void TfmMain::ExportDesign() {
  const std::optional<DesignSnapshot> design = shell_->CheckedDesign();
  if (!design) return;
  const CheckSettings settings = check_ != nullptr ? check_->Settings() : CheckSettings{};
  PartsQuestion question;
  question.target = *design;
  question.bench.conditions = settings.conditions;
  question.bench.tolerance = settings.tolerance;
  question.resistors = settings.series;
  const QString what =
      QString::fromStdString(PartsText(*design)) + " (" + SheetTitle(design->kind) + ")";
  ExportDialog dialog(
      WindowExportJob(question, *design, check_ != nullptr ? check_->Simulation() : nullptr), what,
      "timer555-design" + QString::number(DesignNumber(design->kind)), this);
  const FocusReturn back;
  dialog.exec();
}

void TfmMain::CopyPicture() {
  QGuiApplication::clipboard()->setImage(Image2->CanvasRef().Image());
}

bool TfmMain::SavePicture(const QString& file) {
  if (!file.endsWith(".svg", Qt::CaseInsensitive))
    return SaveFile(this, file, PngBytes(Image2->CanvasRef().Image()));
  if (!Global::Page().DesignPageShown) {
    ShowError("Only a design page is written as SVG; save this page as PNG.");
    return false;
  }
  SvgCanvas svg(Image2->width(), Image2->height());
  Guarded([&] { shell_->DrawDesignPage(svg); });
  return SaveFile(this, file, svg.Document());
}

}  // namespace timer555
