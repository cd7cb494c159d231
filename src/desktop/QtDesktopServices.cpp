#include "desktop/QtDesktopServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>

#include <cstdio>
#include <cstdlib>

namespace {

// The control's own name; a button without one (a message box's) by its caption, anything
// else by the nearest named control that holds it (a combo box's edit area).
QString ControlName(const QWidget* widget) {
  if (widget->objectName().isEmpty()) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
      return QStringLiteral("button:") + QString(button->text()).remove(QLatin1Char('&'));
  }
  for (const QWidget* named = widget; named && !named->isWindow(); named = named->parentWidget())
    if (!named->objectName().isEmpty()) return named->objectName();
  return QString::fromLatin1(widget->metaObject()->className());
}

void Report(const QString& line) {
  std::fputs(line.toUtf8().constData(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void ReportPlaces(const QWidget& window) {
  for (const QWidget* control : window.findChildren<QWidget*>()) {
    if (control->objectName().isEmpty() || !control->isVisible()) continue;
    const QPoint at = control->mapTo(&window, QPoint(0, 0));
    Report(QStringLiteral("place\t%1\t%2\t%3 %4 %5 %6")
               .arg(window.windowTitle(), control->objectName())
               .arg(at.x())
               .arg(at.y())
               .arg(control->width())
               .arg(control->height()));
  }
}

// Alt with a key that no access key took types nothing into a text box, as on the rest of
// the desktop; Qt would insert the character. AltGr does not count as Alt on X11, so the
// characters it gives still type.
class AltKeysTypeNothing : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !qobject_cast<QLineEdit*>(watched)) return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return (key->modifiers() & Qt::AltModifier) && !key->text().isEmpty() && key->text().front().isPrint();
  }
};

// An access key presses its button at once, as on the rest of the desktop. Qt shows the
// button down for 100 ms first, and an Esc typed meanwhile only lets the button up: the
// window stayed open and the click came anyway.
class AccessKeysPressAtOnce : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (event->type() != QEvent::Shortcut || !button || !button->isEnabled() ||
        static_cast<QShortcutEvent*>(event)->isAmbiguous())
      return false;
    if (button->isCheckable() && (button->focusPolicy() & Qt::ClickFocus)) button->setFocus(Qt::ShortcutFocusReason);
    button->click();
    return true;
  }
};

}  // namespace

QtDesktopServices::QtDesktopServices() {
  static QPointer<AltKeysTypeNothing> altKeys;
  if (qApp && !altKeys) {
    altKeys = new AltKeysTypeNothing(qApp);
    qApp->installEventFilter(altKeys);
    qApp->installEventFilter(new AccessKeysPressAtOnce(altKeys));
  }
  if (!qEnvironmentVariableIsSet("PENLARK_REPORT_FOCUS")) return;
  QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget*, QWidget* now) {
    if (now && now->window()->isActiveWindow() && now->window()->property("penlarkPlaced").isNull()) {
      now->window()->setProperty("penlarkPlaced", true);
      ReportPlaces(*now->window());
    }
    Report(now ? QStringLiteral("focus\t%1\t%2").arg(now->window()->windowTitle(), ControlName(now))
               : QStringLiteral("focus\t\t"));
  });
}

QString QtDesktopServices::DisplayText(const QString& text) {
  static const QRegularExpression breaks(QStringLiteral("[\r\n]+"));
  QString shown = text;
  return shown.replace(breaks, QStringLiteral("\n"));
}

QString QtDesktopServices::QtFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString patterns =
        QLatin1Char('(') + parts[i + 1].split(QLatin1Char(';')).join(QLatin1Char(' ')) + QLatin1Char(')');
    // A description that already shows its patterns is not given them twice.
    entries << (parts[i].endsWith(patterns) ? parts[i] : parts[i] + QLatin1Char(' ') + patterns);
  }
  return entries.join(QStringLiteral(";;"));
}

int QtDesktopServices::MsgBox(const QString& text, int style, const QString& title) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(title);
  box.setText(DisplayText(text));
  switch (style & 0x70) {
    case MsgStyle::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgStyle::Question: box.setIcon(QMessageBox::Question); break;
    case MsgStyle::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgStyle::Information: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
  }
  const bool yesNo = (style & 7) == MsgStyle::YesNo;
  QPushButton* first = nullptr;
  QPushButton* second = nullptr;
  if (yesNo) {
    first = box.addButton(QMessageBox::Yes);
    second = box.addButton(QMessageBox::No);
    box.setEscapeButton(second);
  } else {
    first = box.addButton(QMessageBox::Ok);
    box.setEscapeButton(first);
  }
  box.setDefaultButton((style & MsgStyle::DefaultButton2) && second ? second : first);
  // The box shows the application-wide pointer as it is set: the hourglass stays over a
  // message shown while work is under way.
  box.exec();
  if (!yesNo) return MsgAnswer::Ok;
  return box.clickedButton() == first ? MsgAnswer::Yes : MsgAnswer::No;
}

void QtDesktopServices::Beep() { QApplication::beep(); }

void QtDesktopServices::SetMousePointer(int pointer) {
  if (pointer == pointer_) return;
  if (pointer_ != Pointer::Default) QApplication::restoreOverrideCursor();
  if (pointer != Pointer::Default) QApplication::setOverrideCursor(Qt::WaitCursor);
  pointer_ = pointer;
}

std::optional<QString> QtDesktopServices::ShowOpenDialog(const FileOpenSettings& settings) {
  // Qt's file dialog reads and writes its browse history in the user's "QtProject"
  // settings whenever one is made or destroyed, with no switch to stop it. PENLARK.INI is
  // the program's only saved state, so the user-scope settings (which nothing else here
  // uses) are pointed at a path that can hold no file: nothing is read and nothing is left
  // behind. Within one run the dialog still opens where it was last left.
  for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
  QFileDialog dialog(QApplication::activeWindow(), settings.title);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(QtFilter(settings.filter));
  dialog.setDefaultSuffix(settings.defaultExt.toLower());
  if (settings.flags & FileOpenFlag::HideReadOnly) dialog.setOption(QFileDialog::ReadOnly, false);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

void QtDesktopServices::Terminate() {
  std::fflush(nullptr);
  std::_Exit(EXIT_SUCCESS);
}

void QtDesktopServices::RunModal(QDialog& form) {
  form.setWindowModality(Qt::ApplicationModal);
  form.exec();
}
