#include "common/qt/template_dialog.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "common/qt/about_dialog.h"
#include "common/qt/app_icon.h"
#include "common/qt/etched_group_box.h"
#include "common/qt/latin1_text.h"
#include "common/qt/multi_line_edit.h"
#include "common/qt/solo_buttons.h"
#include "common/qt/status_bar_line.h"
#include "common/qt/template_page.h"

namespace {

// What an edit takes when the dialog sets no limit of its own.
constexpr int kUnlimitedEditChars = 32767;
// How long a window manager may take to frame a new window.
constexpr int kFrameSettleMs = 300;
// The smallest screen the layout is drawn smaller for, so that it shows whole: 1280 x
// 720 less a panel (a task bar, or a top bar) of up to 48 pixels. Below that the
// layout keeps that scale and scrolls.
constexpr QSize kSmallestScreen(1280, 720 - 48);
// Scales closer than this to the one drawn are not worth a new layout.
constexpr double kScaleTolerance = 0.002;
// The folder at the end of the status line takes at most this share of its width.
constexpr int kFolderShareDivisor = 2;

QString objectNameFor(const ControlSpec& entry) {
  if (entry.id != ControlSpec::kNoId) return QStringLiteral("control%1").arg(entry.id);
  QString kind = entry.kind == ControlKind::kGroupBox ? QStringLiteral("group")
                                                      : QStringLiteral("label");
  return QStringLiteral("%1_%2_%3").arg(kind).arg(entry.x).arg(entry.y);
}

}  // namespace

TemplateDialog::TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent),
      template_(dialogTemplate),
      naturalUnits_(DialogUnits::dialogFont()),
      units_(naturalUnits_) {
  setFont(DialogUnits::dialogFont());
  setWindowTitle(latin1ToQString(template_.caption));
  setWindowIcon(appIcon(latin1ToQString(template_.programName)));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint);
  page_ = new TemplatePage(units_.toPixels(0, 0, template_.width, template_.height).size());
  for (const ControlSpec& entry : template_.controls) {
    QWidget* widget = createControl(entry);
    widget->setObjectName(objectNameFor(entry));
    if (entry.id != ControlSpec::kNoId) controls_[entry.id] = widget;
    placed_.emplace_back(widget, entry);
  }
  buildFrame();
  layOut(1.0);
  addAboutEntry();
  pollTimer_.setTimerType(Qt::PreciseTimer);
  connect(&pollTimer_, &QTimer::timeout, this, [this] { runTick(); });
}

void TemplateDialog::buildFrame() {
  scrollArea_ = new QScrollArea(this);
  scrollArea_->setObjectName(QStringLiteral("scrollArea"));
  scrollArea_->setFrameShape(QFrame::NoFrame);
  scrollArea_->setFocusPolicy(Qt::NoFocus);  // the tab order is the template's alone
  scrollArea_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  scrollArea_->setWidgetResizable(true);
  scrollArea_->setWidget(page_);
  status_ = new StatusBarLine(this);
  folder_ = new QLabel(this);
  folder_->setObjectName(QStringLiteral("workingFolder"));
  folder_->setAccessibleName(QStringLiteral("working folder"));
  folder_->setTextFormat(Qt::PlainText);
  folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  folder_->setContentsMargins(4, 1, 4, 1);
  folder_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  auto* bottom = new QHBoxLayout;
  bottom->setContentsMargins(0, 0, 0, 0);
  bottom->setSpacing(0);
  bottom->addWidget(status_, 1);
  bottom->addWidget(folder_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(scrollArea_, 1);
  layout->addLayout(bottom);
}

void TemplateDialog::layOut(double scale) {
  units_ = naturalUnits_.scaled(scale);
  page_->setFont(DialogUnits::scaledFont(font(), scale));
  for (const auto& [widget, entry] : placed_) {
    QRect rect = units_.toPixels(entry.x, entry.y, entry.width, entry.height);
    if (entry.id != ControlSpec::kNoId && entry.id == template_.growingControl)
      page_->setGrowingControl(widget, rect);
    else
      widget->setGeometry(rect);
  }
  page_->setTemplateSize(units_.toPixels(0, 0, template_.width, template_.height).size());
  // Small enough for any screen; the scroll bars reach the rest.
  setMinimumSize(QSize(160, 120).boundedTo(naturalSize()));
  setMaximumSize(template_.growingControl == ControlSpec::kNoId ? naturalSize()
                                                                : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
  resize(naturalSize());
}

void TemplateDialog::setWorkingFolder(const QString& folder) {
  workingFolder_ = folder;
  folder_->setToolTip(QStringLiteral("working folder: ") + folder);
  showWorkingFolder();
}

void TemplateDialog::showWorkingFolder() {
  if (workingFolder_.isEmpty()) {
    folder_->clear();
    return;
  }
  const QString whole = QStringLiteral("folder ") + workingFolder_;
  const int room = width() / kFolderShareDivisor;
  const QString shown = folder_->fontMetrics().elidedText(whole, Qt::ElideMiddle, room);
  if (shown != folder_->text()) folder_->setText(shown);
}

void TemplateDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  showWorkingFolder();
}

QSize TemplateDialog::naturalSize() const {
  return page_->templateSize() + QSize(0, status_->minimumSizeHint().height());
}

StatusLine& TemplateDialog::statusLine() { return *status_; }

void TemplateDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (fitted_ || event->spontaneous()) return;
  fitted_ = true;
  wantedSize_ = size();
  fitToScreen();
  // The window manager puts its frame round the window only after it is shown; the
  // size is then worked out again from the real frame.
  QTimer::singleShot(0, this, &TemplateDialog::fitToScreen);
  QTimer::singleShot(kFrameSettleMs, this, &TemplateDialog::fitToScreen);
}

void TemplateDialog::fitToScreen() {
  QScreen* screen = this->screen();
  // Maximised or full screen, the window manager has fitted it already.
  if (screen == nullptr || (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) return;
  QRect room = screen->availableGeometry();
  QSize frame = frameGeometry().size() - geometry().size();
  if (frame.isEmpty()) {
    // Not framed yet: allow for a title bar and thin borders.
    int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    frame = QSize(8, title + 8);
  }
  // Drawn smaller, in proportion, when the screen is smaller than the layout; the
  // status line keeps its size.
  const QSize line(0, status_->minimumSizeHint().height());
  const QSize natural = naturalUnits_.toPixels(0, 0, template_.width, template_.height).size();
  const QSize one(1, 1);  // a pixel of room against rounding, so no scroll bar shows
  const double scale = DialogUnits::fitScale(natural, room.size() - frame - line - one,
                                             kSmallestScreen - frame - line - one);
  if (std::abs(scale - units_.scale()) > kScaleTolerance) layOut(scale);
  const QSize wanted = units_.scale() < 1.0 ? naturalSize() : wantedSize_;
  QSize fits = wanted.boundedTo(room.size() - frame);
  if (fits != size()) resize(fits);
  // Then moved so that its title bar is on the screen and as much as fits below it.
  QRect outer(frameGeometry().topLeft(), fits + frame);
  auto within = [](int at, int first, int room, int length) {
    return std::clamp(at, first, std::max(first, first + room - length));
  };
  QPoint place(within(outer.left(), room.left(), room.width(), outer.width()),
               within(outer.top(), room.top(), room.height(), outer.height()));
  if (place != outer.topLeft()) move(place);
}

TemplateDialog::~TemplateDialog() = default;

QWidget* TemplateDialog::createControl(const ControlSpec& entry) {
  QString caption = latin1ToQString(entry.caption);
  QString accessible = entry.accessibleName.empty() ? caption : latin1ToQString(entry.accessibleName);
  int id = entry.id;
  switch (entry.kind) {
    case ControlKind::kEdit: {
      auto* edit = new QLineEdit(page_);
      edit->setAccessibleName(accessible);
      connect(edit, &QLineEdit::textEdited, this, [this, id] {
        if (handlers_.textChanged) handlers_.textChanged(id);
      });
      return edit;
    }
    case ControlKind::kMultiLineEdit: {
      auto* edit = new MultiLineEdit(page_);
      edit->setAccessibleName(accessible);
      connect(edit, &MultiLineEdit::editedByOperator, this, [this, id] {
        if (handlers_.textChanged) handlers_.textChanged(id);
      });
      return edit;
    }
    case ControlKind::kPushButton: {
      auto* button = new WrappingPushButton(caption, entry.multiLine, page_);
      button->setAccessibleName(accessible);
      connect(button, &QPushButton::clicked, this, [this, id] {
        if (handlers_.clicked) handlers_.clicked(id);
      });
      return button;
    }
    case ControlKind::kRadioButton: {
      auto* button = new SoloRadioButton(caption, entry.multiLine, page_);
      button->setAccessibleName(accessible);
      connect(button, &QRadioButton::clicked, this, [this, id] {
        if (handlers_.clicked) handlers_.clicked(id);
      });
      return button;
    }
    case ControlKind::kGroupBox: {
      auto* box = new EtchedGroupBox(caption, page_);
      box->setAccessibleName(accessible);
      // Behind the controls it frames, whatever its place in the tab order.
      box->lower();
      return box;
    }
    case ControlKind::kLabel:
      break;
  }
  auto* label = new QLabel(caption, page_);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setAccessibleName(accessible);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  return label;
}

void TemplateDialog::addAboutEntry() {
  QString program = latin1ToQString(template_.programName);
  auto* about = new QAction(AboutDialog::menuEntry(program), this);
  about->setObjectName(QStringLiteral("aboutAction"));
  about->setShortcut(QKeySequence(Qt::Key_F1));
  about->setShortcutContext(Qt::WindowShortcut);
  connect(about, &QAction::triggered, this, &TemplateDialog::showAbout);
  // Linux window managers have no system menu that a program can extend, so the
  // dialog's own context menu (and F1) carries the About entry.
  addAction(about);
  setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TemplateDialog::showAbout() {
  AboutDialog about(latin1ToQString(template_.programName), this, workingFolder_);
  about.exec();
}

void TemplateDialog::setHandlers(Handlers handlers) { handlers_ = std::move(handlers); }

void TemplateDialog::startPollTimer(int periodMs) { pollTimer_.start(periodMs); }

void TemplateDialog::restartPollTimer() {
  if (pollTimer_.isActive()) pollTimer_.start();
}

void TemplateDialog::runTick() {
  if (handlers_.tick) handlers_.tick();
}

QWidget* TemplateDialog::control(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

std::string TemplateDialog::text(int id) const {
  QWidget* widget = control(id);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return fieldTextToBytes(edit->text());
  if (auto* edit = qobject_cast<MultiLineEdit*>(widget)) return edit->bytes();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return qStringToLatin1(button->text());
  if (auto* label = qobject_cast<QLabel*>(widget)) return qStringToLatin1(label->text());
  if (auto* box = qobject_cast<QGroupBox*>(widget)) return qStringToLatin1(box->title());
  return {};
}

void TemplateDialog::setText(int id, const std::string& text) {
  QWidget* widget = control(id);
  if (auto* edit = qobject_cast<MultiLineEdit*>(widget)) {
    edit->setBytes(text);
    return;
  }
  // Only a change touches the widget: the same text again would move the cursor,
  // drop the operator's selection and repaint.
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    QString shown = bytesToFieldText(text);
    if (edit->text() != shown) edit->setText(shown);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    QString shown = latin1ToQString(text);
    if (label->text() != shown) label->setText(shown);
  }
}

bool TemplateDialog::checked(int id) const {
  auto* button = qobject_cast<QAbstractButton*>(control(id));
  return button != nullptr && button->isChecked();
}

void TemplateDialog::setChecked(int id, bool on) {
  auto* button = qobject_cast<QAbstractButton*>(control(id));
  if (button != nullptr && button->isCheckable() && button->isChecked() != on) button->setChecked(on);
}

void TemplateDialog::setTextLimit(int id, int maxChars) {
  // Setting a limit puts the text in again, which drops the operator's selection and
  // caret; the data exchange sets each limit once, and even so only a change counts.
  auto* edit = qobject_cast<QLineEdit*>(control(id));
  int limit = maxChars > 0 ? maxChars : kUnlimitedEditChars;
  if (edit != nullptr && edit->maxLength() != limit) edit->setMaxLength(limit);
}

void TemplateDialog::showMessage(const std::string& message) {
  QMessageBox box(QMessageBox::Warning, latin1ToQString(template_.programName),
                  latin1ToQString(message), QMessageBox::Ok, this);
  box.exec();
}

void TemplateDialog::setFocus(int id) {
  QWidget* widget = control(id);
  if (widget == nullptr) return;
  widget->setFocus(Qt::OtherFocusReason);
  // An edit that failed validation gets the focus with its text selected, ready to
  // be typed over.
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
}

void TemplateDialog::accept() {
  if (handlers_.ok && !handlers_.ok()) return;
  QDialog::accept();
}

void TemplateDialog::done(int result) {
  pollTimer_.stop();
  QDialog::done(result);
}

void TemplateDialog::keyPressEvent(QKeyEvent* event) {
  bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  bool plain = event->modifiers() == Qt::NoModifier ||
               (event->key() == Qt::Key_Enter && event->modifiers() == Qt::KeypadModifier);
  if (enter && plain) {
    accept();
    return;
  }
  // Escape goes to reject(), which closes without the OK handler.
  QDialog::keyPressEvent(event);
}
