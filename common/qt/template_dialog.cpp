#include "common/qt/template_dialog.h"

#include <QAction>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include "common/qt/about_dialog.h"
#include "common/qt/app_icon.h"
#include "common/qt/etched_group_box.h"
#include "common/qt/latin1_text.h"
#include "common/qt/multi_line_edit.h"
#include "common/qt/solo_buttons.h"

namespace {

// What the original edit control allowed when no limit was set.
constexpr int kUnlimitedEditChars = 32767;

QString objectNameFor(const ControlSpec& entry) {
  if (entry.id != ControlSpec::kNoId) return QStringLiteral("control%1").arg(entry.id);
  QString kind = entry.kind == ControlKind::kGroupBox ? QStringLiteral("group")
                                                      : QStringLiteral("label");
  return QStringLiteral("%1_%2_%3").arg(kind).arg(entry.x).arg(entry.y);
}

}  // namespace

TemplateDialog::TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent), template_(dialogTemplate), units_(DialogUnits::dialogFont()) {
  setFont(DialogUnits::dialogFont());
  setWindowTitle(latin1ToQString(template_.caption));
  setWindowIcon(appIcon());
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(units_.toPixels(0, 0, template_.width, template_.height).size());
  for (const ControlSpec& entry : template_.controls) {
    QWidget* widget = createControl(entry);
    widget->setObjectName(objectNameFor(entry));
    widget->setGeometry(units_.toPixels(entry.x, entry.y, entry.width, entry.height));
    if (entry.id != ControlSpec::kNoId) controls_[entry.id] = widget;
  }
  addAboutEntry();
  connect(&pollTimer_, &QTimer::timeout, this, [this] { runTick(); });
}

TemplateDialog::~TemplateDialog() = default;

QWidget* TemplateDialog::createControl(const ControlSpec& entry) {
  QString caption = latin1ToQString(entry.caption);
  QString accessible = entry.accessibleName.empty() ? caption : latin1ToQString(entry.accessibleName);
  int id = entry.id;
  switch (entry.kind) {
    case ControlKind::kEdit: {
      auto* edit = new QLineEdit(this);
      edit->setAccessibleName(accessible);
      connect(edit, &QLineEdit::textEdited, this, [this, id] {
        if (handlers_.textChanged) handlers_.textChanged(id);
      });
      return edit;
    }
    case ControlKind::kMultiLineEdit: {
      auto* edit = new MultiLineEdit(this);
      edit->setAccessibleName(accessible);
      connect(edit, &MultiLineEdit::editedByOperator, this, [this, id] {
        if (handlers_.textChanged) handlers_.textChanged(id);
      });
      return edit;
    }
    case ControlKind::kPushButton: {
      auto* button = new WrappingPushButton(caption, entry.multiLine, this);
      button->setAccessibleName(accessible);
      connect(button, &QPushButton::clicked, this, [this, id] {
        if (handlers_.clicked) handlers_.clicked(id);
      });
      return button;
    }
    case ControlKind::kRadioButton: {
      auto* button = new SoloRadioButton(caption, entry.multiLine, this);
      button->setAccessibleName(accessible);
      connect(button, &QRadioButton::clicked, this, [this, id] {
        if (handlers_.clicked) handlers_.clicked(id);
      });
      return button;
    }
    case ControlKind::kGroupBox: {
      auto* box = new EtchedGroupBox(caption, this);
      box->setAccessibleName(accessible);
      // Behind the controls it frames, whatever its place in the tab order.
      box->lower();
      return box;
    }
    case ControlKind::kLabel:
      break;
  }
  auto* label = new QLabel(caption, this);
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
  // The original offered it in the system menu; Linux window managers have none
  // that a program can extend, so the dialog's own context menu carries it.
  addAction(about);
  setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TemplateDialog::showAbout() {
  AboutDialog about(latin1ToQString(template_.programName), this);
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
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return qStringToLatin1(edit->text());
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
  QString shown = latin1ToQString(text);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    if (edit->text() != shown) edit->setText(shown);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
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
  if (auto* edit = qobject_cast<QLineEdit*>(control(id)))
    edit->setMaxLength(maxChars > 0 ? maxChars : kUnlimitedEditChars);
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
  // As the original did for an edit that failed validation: its text is selected,
  // ready to be typed over.
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
